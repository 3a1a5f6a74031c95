#include "IniFileHandler.h"

#include <algorithm>
#include <unordered_map>

#include "core/CodePage.h"
#include "core/Convert.h"
#include "storage/FileUtil.h"
#include "core/StrUtil.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool IsQuoted(const std::string& text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

// The value of a key line: after the first "=", trimmed, one pair of quotes off.
std::string ValueOf(const std::string& raw) {
  std::string value = Trim(raw.substr(raw.find('=') + 1));
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return value;
}

// The form that reads back as the value.
std::string Encode(const std::string& value) {
  std::string text(value);
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) || IsQuoted(text))) return '"' + text + '"';
  return text;
}

// The upper-cased key of a line, or empty for a comment, a blank line or a
// line without "=".
std::string KeyOf(const std::string& raw) {
  const std::string trimmed = Trim(raw);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') return {};
  const std::size_t eq = trimmed.find('=');
  if (eq == std::string::npos) return {};
  return UpperCase(Trim(trimmed.substr(0, eq)));
}
}  // namespace

tIniFileHandler::tIniFileHandler(const std::string& fileName) : fileName_(fileName) {
  Parse(ReadFileBytes(fileName));
}

void tIniFileHandler::Parse(const TBytes& bytes) {
  sections_.clear();
  sections_.push_back(TSection{{}, {}, true, {}});
  // Written in UTF-8; a file that is not valid UTF-8 was written as
  // Windows-1252, as every settings file before.
  std::string text(bytes.begin(), bytes.end());
  if (!IsValidUtf8(text)) text = Cp1252ToUtf8(text);
  const std::size_t firstLf = text.find('\n');
  if (firstLf != std::string::npos) lineEnd_ = (firstLf > 0 && text[firstLf - 1] == '\r') ? "\r\n" : "\n";

  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(pos, end - pos);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    pos = end + 1;

    const std::string trimmed = Trim(raw);
    if (!trimmed.empty() && trimmed[0] == '[') {
      const std::size_t close = trimmed.find(']');
      const std::string name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      sections_.push_back(TSection{raw, UpperCase(name), false, {}});
    } else {
      sections_.back().lines.push_back(TLine{raw, KeyOf(raw)});
    }
  }
}

std::size_t tIniFileHandler::SectionIndex(const std::string& section) const {
  const std::string name = UpperCase(Trim(section));
  for (std::size_t i = 0; i < sections_.size(); ++i)
    if (!sections_[i].preamble && sections_[i].name == name) return i;
  return std::string::npos;
}

std::size_t tIniFileHandler::LineIndex(const TSection& section, const std::string& key) {
  const std::string name = UpperCase(Trim(key));
  for (std::size_t i = 0; i < section.lines.size(); ++i)
    if (!section.lines[i].key.empty() && section.lines[i].key == name) return i;
  return std::string::npos;
}

const tIniFileHandler::TSection* tIniFileHandler::FindSection(const std::string& section) const {
  const std::size_t i = SectionIndex(section);
  return i == std::string::npos ? nullptr : &sections_[i];
}

const tIniFileHandler::TLine* tIniFileHandler::FindKey(const TSection& section, const std::string& key) {
  const std::size_t i = LineIndex(section, key);
  return i == std::string::npos ? nullptr : &section.lines[i];
}

// The first line of every key, so that long lists read in linear time.
std::unordered_map<std::string, const tIniFileHandler::TLine*> tIniFileHandler::KeyIndex(const TSection& section) {
  std::unordered_map<std::string, const TLine*> index;
  for (const TLine& line : section.lines)
    if (!line.key.empty()) index.emplace(line.key, &line);
  return index;
}

bool tIniFileHandler::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool tIniFileHandler::ValueExists(const std::string& section, const std::string& key) const {
  const TSection* s = FindSection(section);
  return s != nullptr && FindKey(*s, key) != nullptr;
}

std::string tIniFileHandler::ReadString(const std::string& section, const std::string& key,
                                        const std::string& def) const {
  const TSection* s = FindSection(section);
  const TLine* line = s ? FindKey(*s, key) : nullptr;
  return line ? ValueOf(line->raw) : def;
}

int32_t tIniFileHandler::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  int32_t value = def;
  return TryStrToInt(ReadString(section, key, {}), value) ? value : def;
}

bool tIniFileHandler::ReadBoolStr(const std::string& section, const std::string& key, bool def) const {
  const std::string word = UpperCase(ReadString(section, key, {}));
  if (word == "TRUE") return true;
  if (word == "FALSE") return false;
  return def;
}

std::size_t tIniFileHandler::ListLength(const std::string& section, const std::string& countKey) const {
  const TSection* s = FindSection(section);
  if (s == nullptr) return 0;
  const int32_t count = ReadInteger(section, countKey, 0);
  if (count <= 0) return 0;
  const auto keyLines = static_cast<std::size_t>(
      std::count_if(s->lines.begin(), s->lines.end(), [](const TLine& l) { return !l.key.empty(); }));
  return std::min(static_cast<std::size_t>(count), keyLines);
}

std::vector<std::string> tIniFileHandler::ReadStrList(const std::string& section, const std::string& countKey) const {
  std::vector<std::string> list;
  const std::size_t n = ListLength(section, countKey);
  if (n == 0) return list;
  const auto index = KeyIndex(*FindSection(section));
  list.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto found = index.find(std::to_string(i));
    list.push_back(found != index.end() ? ValueOf(found->second->raw) : std::string());
  }
  return list;
}

std::vector<int32_t> tIniFileHandler::ReadIntList(const std::string& section, const std::string& countKey) const {
  const std::vector<std::string> texts = ReadStrList(section, countKey);
  std::vector<int32_t> list;
  list.reserve(texts.size());
  for (const std::string& text : texts) {
    int32_t value = -1;
    list.push_back(TryStrToInt(text, value) ? value : -1);
  }
  return list;
}

int32_t tIniFileHandler::CountListEntries(const std::string& section) const {
  const TSection* s = FindSection(section);
  if (s == nullptr) return 0;
  const auto index = KeyIndex(*s);
  int32_t n = 0;
  for (;;) {
    const auto found = index.find(std::to_string(n));
    if (found == index.end() || ValueOf(found->second->raw).empty()) return n;
    ++n;
  }
}

tIniFileHandler::TSection& tIniFileHandler::SectionForWrite(const std::string& section) {
  const std::size_t found = SectionIndex(section);
  if (found != std::string::npos) return sections_[found];
  // A new section goes to the end, set off from the one before by a blank line.
  TSection& last = sections_.back();
  const bool hasText = !last.preamble || !last.lines.empty();
  if (hasText && (last.lines.empty() || !Trim(last.lines.back().raw).empty())) last.lines.push_back(TLine{});
  sections_.push_back(TSection{"[" + Trim(section) + "]", UpperCase(Trim(section)), false, {}});
  modified_ = true;
  return sections_.back();
}

void tIniFileHandler::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  TSection& s = SectionForWrite(section);
  const std::string raw = Trim(key) + "=" + Encode(value);
  const std::size_t found = LineIndex(s, key);
  if (found != std::string::npos) {
    TLine& line = s.lines[found];
    if (line.raw != raw) {
      line.raw = raw;
      modified_ = true;
    }
    return;
  }
  // After the last key of the section; comments that close it stay last.
  std::size_t at = 0;
  for (std::size_t i = 0; i < s.lines.size(); ++i)
    if (!s.lines[i].key.empty()) at = i + 1;
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), TLine{raw, UpperCase(Trim(key))});
  modified_ = true;
}

void tIniFileHandler::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, IntToStr(value));
}

void tIniFileHandler::WriteBoolStr(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "True" : "False");
}

void tIniFileHandler::WriteStrList(const std::string& section, const std::vector<std::string>& list) {
  TSection& s = SectionForWrite(section);
  // One index of the keys instead of a search per element: a list of tens
  // of thousands of entries would otherwise take seconds.
  std::unordered_map<std::string, std::size_t> index;
  std::size_t at = 0;
  for (std::size_t i = 0; i < s.lines.size(); ++i) {
    if (s.lines[i].key.empty()) continue;
    index.emplace(s.lines[i].key, i);
    at = i + 1;
  }
  std::vector<TLine> added;
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::string key = std::to_string(i);
    std::string raw = key + "=" + Encode(list[i]);
    if (const auto found = index.find(key); found != index.end()) {
      TLine& line = s.lines[found->second];
      if (line.raw != raw) {
        line.raw = std::move(raw);
        modified_ = true;
      }
    } else {
      added.push_back(TLine{std::move(raw), std::move(key)});
    }
  }
  if (added.empty()) return;
  // New keys go after the last key, in order, as one by one they would.
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
  modified_ = true;
}

void tIniFileHandler::WriteIntList(const std::string& section, const std::vector<int32_t>& list) {
  std::vector<std::string> texts;
  texts.reserve(list.size());
  for (const int32_t value : list) texts.push_back(IntToStr(value));
  WriteStrList(section, texts);
}

void tIniFileHandler::ReplaceList(const std::string& section, const std::string& countKey,
                                  const std::vector<std::string>& list) {
  std::vector<TLine> lines;
  lines.reserve(list.size() + 1);
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::string key = std::to_string(i);
    std::string raw = key + "=" + Encode(list[i]);
    lines.push_back(TLine{std::move(raw), std::move(key)});
  }
  lines.push_back(TLine{Trim(countKey) + "=" + IntToStr(static_cast<int32_t>(list.size())), UpperCase(Trim(countKey))});

  TSection& s = SectionForWrite(section);
  EraseSectionsAfter(static_cast<std::size_t>(&s - sections_.data()), s.name);
  // Comments and blank lines at the end of the section stay there.
  std::size_t tail = s.lines.size();
  while (tail > 0 && s.lines[tail - 1].key.empty()) --tail;
  for (std::size_t i = 0; i < tail; ++i)
    if (s.lines[i].key.empty()) lines.push_back(s.lines[i]);
  lines.insert(lines.end(), s.lines.begin() + static_cast<std::ptrdiff_t>(tail), s.lines.end());

  const bool same = lines.size() == s.lines.size() &&
                    std::equal(lines.begin(), lines.end(), s.lines.begin(),
                               [](const TLine& a, const TLine& b) { return a.raw == b.raw; });
  if (same) return;
  s.lines = std::move(lines);
  modified_ = true;
}

// The lines before the first section come first, so 0 erases every one.
void tIniFileHandler::EraseSection(const std::string& section) { EraseSectionsAfter(0, UpperCase(Trim(section))); }

void tIniFileHandler::EraseSectionsAfter(std::size_t first, const std::string& name) {
  for (std::size_t i = first + 1; i < sections_.size();) {
    if (sections_[i].preamble || sections_[i].name != name) {
      ++i;
      continue;
    }
    EraseSectionAt(i);
  }
}

void tIniFileHandler::EraseSectionAt(std::size_t i) {
  TSection& s = sections_[i];
  std::size_t tail = s.lines.size();
  while (tail > 0 && s.lines[tail - 1].key.empty()) --tail;
  std::vector<TLine>& before = sections_[i - 1].lines;
  // The comments at its end go to the section before; a blank line that
  // would stand beside another one does not, or every erase and rewrite
  // of a section would add one more.
  for (std::size_t k = tail; k < s.lines.size(); ++k) {
    const bool blank = Trim(s.lines[k].raw).empty();
    if (blank && (before.empty() || Trim(before.back().raw).empty())) continue;
    before.push_back(s.lines[k]);
  }
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
  modified_ = true;
}

TBytes tIniFileHandler::ToBytes() const {
  std::string text;
  for (const TSection& s : sections_) {
    if (!s.preamble) text += s.header + lineEnd_;
    for (const TLine& line : s.lines) text += line.raw + lineEnd_;
  }
  return TBytes(text.begin(), text.end());
}

bool tIniFileHandler::UpdateFile(TSaveResult* result) {
  if (!modified_) return true;
  if (!WriteFileBytes(fileName_, ToBytes(), true, result)) return false;
  modified_ = false;
  return true;
}

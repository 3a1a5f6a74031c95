#include "AppLangHandl.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "core/CodePage.h"
#include "core/Convert.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"

namespace {
constexpr std::string_view kEndLine = "[##]";
constexpr std::string_view kCrLf = "\r\n";

// Hands each text of one language section to onText(number, text); false
// for damaged content (a line whose number is not a decimal integer or is too
// large), and for a code that is not two characters.
template <typename TOnText>
bool ForEachText(const TBytes& raw, std::string_view code, bool& found, TOnText onText) {
  found = false;
  if (code.size() != 2) return false;
  const std::string_view text(reinterpret_cast<const char*>(raw.data()), raw.size());
  const std::string header = "[" + std::string(code) + "]";
  const std::size_t at = text.find(header);
  if (at == std::string_view::npos) return true;
  found = true;
  // The header line's CR LF follows the four header characters.
  std::string_view section = text.substr(std::min(text.size(), at + 6));
  const std::size_t end = section.find(kEndLine);
  section = end == std::string_view::npos ? std::string_view() : section.substr(0, end);

  while (!section.empty()) {
    const std::size_t lineEnd = section.find(kCrLf);
    const std::string_view line = section.substr(0, lineEnd);
    section = lineEnd == std::string_view::npos ? std::string_view() : section.substr(lineEnd + kCrLf.size());
    if (line.empty()) continue;
    const std::size_t eq = line.find('=');
    int32_t nbr = 0;
    if (!TryStrToInt(line.substr(0, eq), nbr) || nbr > TAppLangHandler::kMaxTextNbr) return false;
    if (nbr < 0) continue;
    onText(nbr, eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1));
  }
  return true;
}

// The text table of one language section (see ForEachText).
bool BuildTable(const TBytes& raw, const std::string& code, TStrVector& table, bool& found) {
  // The packed texts are Windows-1252; in memory they are UTF-8 like every text.
  return ForEachText(raw, code, found, [&](int32_t nbr, std::string_view text) { table.Put(nbr, Cp1252ToUtf8(text)); });
}

// Whether every language section reads; checked once at load, so that a
// damaged database is refused as a whole, without building the tables.
bool AllSectionsRead(const TBytes& raw) {
  const std::string_view text(reinterpret_cast<const char*>(raw.data()), raw.size());
  std::set<std::string_view> checked{"##"};
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    if (lineStart + 4 <= text.size() && text[lineStart] == '[' && text[lineStart + 3] == ']') {
      const std::string_view code = text.substr(lineStart + 1, 2);
      bool found = false;
      if (checked.insert(code).second && !ForEachText(raw, code, found, [](int32_t, std::string_view) {})) return false;
    }
    const std::size_t next = text.find(kCrLf, lineStart);
    if (next == std::string_view::npos) break;
    lineStart = next + kCrLf.size();
  }
  return true;
}
}  // namespace

bool TAppLangHandler::LoadTextDb(const std::string& path, const std::string& caption, const void* owner) {
  if (!FileExistsWarn(path, caption, owner)) return false;
  return LoadTextBytes(ReadFileBytes(path));
}

bool TAppLangHandler::LoadTextBytes(const TBytes& fileBytes) {
  if (fileBytes.empty()) return false;
  TBytes image = ScrambleBytes(fileBytes);
  // The trailer starts at the last byte 0.
  const auto zero = std::find(image.rbegin(), image.rend(), uint8_t{0});
  if (zero == image.rend()) return false;
  image.resize(static_cast<std::size_t>(image.rend() - zero) - 1);
  if (!OpenContainer(image, false) || !AllSectionsRead(image)) return false;
  RawText = std::move(image);
  return true;
}

bool TAppLangHandler::SetLanguage(const std::string& code) {
  auto table = std::make_unique<TStrVector>();
  bool found = false;
  if (!BuildTable(RawText, code, *table, found) || !found) return false;
  Texts = std::move(table);
  return true;
}

std::string TAppLangHandler::GetText(int n) const {
  const std::string text = Texts ? Texts->Get(n) : std::string();
  return text.empty() ? "????" : text;
}

#include "AnkiImport.h"

#include <map>
#include <optional>
#include <vector>

#include "HtmlText.h"
#include "TableImport.h"
#include "core/Convert.h"

namespace {

struct THeader {
  std::optional<char> Separator;
  bool Html = true;
  // 0-based columns of what is not a field of the note; -1 when absent.
  int Tags = -1, Deck = -1, Notetype = -1, Guid = -1;
};

struct TRecord {
  int LineNbr = 0;
  std::vector<std::string> Fields;
};

std::string Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return std::string(text);
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::optional<char> SeparatorNamed(const std::string& value) {
  const std::string name = Lower(value);
  if (name == "tab" || value == "\t") return '\t';
  if (name == "comma" || value == ",") return ',';
  if (name == "semicolon" || value == ";") return ';';
  if (name == "pipe" || value == "|") return '|';
  if (name == "space" || value == " ") return ' ';
  if (name == "colon" || value == ":") return ':';
  return std::nullopt;
}

// Reads "#key:value" lines at the top; text is left after them.
bool ReadHeader(std::string_view& text, int& lineNbr, THeader& header, std::vector<std::string>& errors) {
  while (!text.empty() && text.front() == '#') {
    const std::size_t end = text.find('\n');
    const std::string line = Trim(text.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNbr;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;  // a comment
    const std::string key = Lower(Trim(line.substr(0, colon)));
    // A separator named by its character may be a blank or a tab: not trimmed.
    const std::string raw = line.substr(colon + 1);
    const std::string value = Trim(raw);
    const std::string where = "line " + std::to_string(lineNbr) + ": ";
    if (key == "separator") {
      header.Separator = SeparatorNamed(raw.empty() ? value : (value.empty() ? raw : value));
      if (!header.Separator) {
        errors.push_back(where + "the separator \"" + value + "\" is not one Anki writes");
        return false;
      }
    } else if (key == "html") {
      header.Html = Lower(value) != "false";
    } else if (key == "tags column" || key == "deck column" || key == "notetype column" || key == "guid column") {
      int32_t column = 0;
      if (!TryStrToInt(value, column) || column < 1 || column > 1000) {
        errors.push_back(where + "\"" + value + "\" is no column number");
        return false;
      }
      int& target = key[0] == 't' ? header.Tags : key[0] == 'd' ? header.Deck : key[0] == 'n' ? header.Notetype : header.Guid;
      target = column - 1;
    }
    // Other lines (#columns, #deck, #notetype, #tags, ...) change nothing here.
  }
  return true;
}

// Splits the notes into fields. A field that begins with a quote runs to
// the next quote not doubled and may hold separators and line breaks.
bool ReadRecords(std::string_view text, char separator, int lineNbr, std::vector<TRecord>& records,
                 std::vector<std::string>& errors) {
  std::size_t i = 0;
  while (i < text.size()) {
    TRecord record;
    record.LineNbr = ++lineNbr;
    for (;;) {
      std::string field;
      if (i < text.size() && text[i] == '"') {
        ++i;
        for (;;) {
          if (i >= text.size()) {
            errors.push_back("line " + std::to_string(record.LineNbr) + ": a quoted field is never closed");
            return false;
          }
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++lineNbr;
          field += text[i++];
        }
        // Blanks or a CR may follow the closing quote; anything else is
        // kept as part of the field, as Anki does.
        while (i < text.size() && text[i] != separator && text[i] != '\n') field += text[i++];
      } else {
        while (i < text.size() && text[i] != separator && text[i] != '\n') field += text[i++];
      }
      if (!field.empty() && field.back() == '\r') field.pop_back();
      record.Fields.push_back(std::move(field));
      if (i < text.size() && text[i] == separator) {
        ++i;
        continue;
      }
      if (i < text.size()) ++i;  // the line end
      break;
    }
    const bool blank = record.Fields.size() == 1 && Trim(record.Fields[0]).empty();
    if (!blank) records.push_back(std::move(record));
  }
  return true;
}

char GuessSeparator(std::string_view text) {
  const std::string_view line = text.substr(0, text.find('\n'));
  for (const char candidate : {'\t', ';', ','})
    if (line.find(candidate) != std::string_view::npos) return candidate;
  return '\t';
}

struct TSide {
  std::string Text;
  std::string Sound;
};

class TNoteReader {
 public:
  TNoteReader(const TAnkiOptions& options, bool html, TNotKept& notKept)
      : options_(options), html_(html), notKept_(notKept) {}

  // The text and sound of a field; [sound:...] references are taken out.
  TSide Read(const std::string& field) {
    TSide side;
    std::string rest;
    std::size_t from = 0;
    for (;;) {
      const std::size_t at = field.find("[sound:", from);
      const std::size_t end = at == std::string::npos ? at : field.find(']', at);
      if (end == std::string::npos) {
        rest += field.substr(from);
        break;
      }
      rest += field.substr(from, at - from) + ' ';
      std::string name = field.substr(at + 7, end - at - 7);
      if (html_) name = HtmlToPlainText(name).Text;
      Sound(name, side);
      from = end + 1;
    }
    if (html_) {
      THtmlText plain = HtmlToPlainText(rest);
      notKept_.Add("image", "images", plain.Images);
      side.Text = std::move(plain.Text);
    } else {
      side.Text = PlainFieldText(rest);
    }
    return side;
  }

 private:
  void Sound(const std::string& name, TSide& side) {
    if (!side.Sound.empty()) {
      notKept_.Add("further sound of a side", "further sounds of a side");
      return;
    }
    const std::string kept = options_.KeepSound && !name.empty() ? options_.KeepSound(name) : std::string();
    if (kept.empty())
      notKept_.Add("sound not found beside the export", "sounds not found beside the export");
    else
      side.Sound = kept;
  }

  const TAnkiOptions& options_;
  bool html_;
  TNotKept& notKept_;
};

}  // namespace

TImportedLessons ImportAnki(std::string_view text, const TAnkiOptions& options) {
  TImportedLessons result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  THeader header;
  int lineNbr = 0;
  if (!ReadHeader(text, lineNbr, header, result.Errors)) return result;
  const char separator = header.Separator ? *header.Separator : GuessSeparator(text);
  std::vector<TRecord> records;
  if (!ReadRecords(text, separator, lineNbr, records, result.Errors)) return result;

  TLessonCollector collector(result, options.Target, options.SkipUnfit);
  TNoteReader reader(options, header.Html, result.NotKept);
  std::map<std::string, int32_t> deckLessons;
  for (const TRecord& record : records) {
    const std::string where = "line " + std::to_string(record.LineNbr);
    std::vector<const std::string*> content;
    for (std::size_t f = 0; f < record.Fields.size(); ++f) {
      const int column = static_cast<int>(f);
      if (column != header.Tags && column != header.Deck && column != header.Notetype && column != header.Guid)
        content.push_back(&record.Fields[f]);
    }
    if (header.Tags >= 0 && static_cast<std::size_t>(header.Tags) < record.Fields.size() &&
        !Trim(record.Fields[static_cast<std::size_t>(header.Tags)]).empty())
      result.NotKept.Add("note's tags", "notes' tags");
    for (std::size_t f = 2; f < content.size(); ++f)
      if (!Trim(*content[f]).empty()) result.NotKept.Add("further field", "further fields");
    if (content.size() < 2) {
      result.NotKept.Add("note without text on both sides", "notes without text on both sides");
      continue;
    }
    const TSide first = reader.Read(*content[0]);
    const TSide second = reader.Read(*content[1]);
    if (first.Text.empty() || second.Text.empty()) {
      result.NotKept.Add("note without text on both sides", "notes without text on both sides");
      continue;
    }
    int32_t lessonNbr = options.FirstLesson;
    if (header.Deck >= 0) {
      const std::string deck = static_cast<std::size_t>(header.Deck) < record.Fields.size()
                                   ? Trim(record.Fields[static_cast<std::size_t>(header.Deck)])
                                   : std::string();
      const auto known = deckLessons.find(deck);
      if (known != deckLessons.end()) {
        lessonNbr = known->second;
      } else {
        lessonNbr = options.FirstLesson + static_cast<int32_t>(deckLessons.size());
        if (lessonNbr > kMaxTableLessonNbr) {
          result.Errors.push_back(where + ": the deck \"" + deck + "\" would be lesson " + std::to_string(lessonNbr) +
                                  ", beyond the highest lesson number " + std::to_string(kMaxTableLessonNbr));
          break;
        }
        deckLessons.emplace(deck, lessonNbr);
        result.LessonNames.push_back(std::to_string(lessonNbr) + ": " + (deck.empty() ? "(no deck)" : deck));
      }
    }
    collector.Add(lessonNbr, {first.Text, second.Text, first.Sound, second.Sound, true}, where);
  }
  collector.Finish();
  if (result.Ok() && result.PairCount == 0) result.Errors.push_back("the file has no note with text on both sides");
  return result;
}

#include "TableImport.h"

#include <array>
#include <map>
#include <optional>
#include <string>

#include "PairFields.h"
#include "TableColumns.h"
#include "core/CodePage.h"
#include "core/Convert.h"
#include "storage/CodeDecode.h"

namespace {

constexpr std::array<bool, kColCount> kRequired = {true, false, false, false, true, true, false, false};

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Keeps a hostile field from filling the message.
std::string Shown(std::string_view text) {
  constexpr std::size_t kShown = 40;
  if (text.size() <= kShown) return std::string(text);
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
  return std::string(text.substr(0, cut)) + "...";
}

bool IsBlankRow(const TTableRow& row) {
  for (const std::string& field : row.Fields)
    if (!field.empty()) return false;
  return true;
}

// The column index of each known column in the header, -1 where it is missing.
using TColumnMap = std::array<int, kColCount>;

bool ReadHeader(const TTableRow& header, TColumnMap& columns, std::vector<TTableError>& errors) {
  columns.fill(-1);
  const std::size_t errorsBefore = errors.size();
  // A whole header in one field was split with another separator.
  if (header.Fields.size() == 1 && header.Fields[0].find_first_of("\t,") == std::string::npos &&
      header.Fields[0].find(';') != std::string::npos) {
    // What spreadsheets write in many locales.
    errors.push_back({header.Place, "the header row \"" + Shown(header.Fields[0]) +
                                        "\" is separated by semicolons, which are not a separator here: save the "
                                        "table with commas and use --csv, or with tabs and use --tsv"});
    return false;
  }
  if (header.Fields.size() == 1 && header.Fields[0].find_first_of("\t,;") != std::string::npos) {
    errors.push_back({header.Place, "the header row is one single field \"" + Shown(header.Fields[0]) +
                                        "\": is the table in the other format? Tab-separated tables need --tsv, "
                                        "comma-separated ones --csv"});
    return false;
  }
  for (std::size_t i = 0; i < header.Fields.size(); ++i) {
    const std::string name = LowerAscii(TrimBlanks(header.Fields[i]));
    std::size_t known = 0;
    while (known < kColCount && kTableColumns[known] != name) ++known;
    if (known == kColCount) {
      errors.push_back({header.Place, "unknown column \"" + Shown(header.Fields[i]) +
                                          "\" (the columns are lesson, pair, use, drawn, word1, word2, wav1, wav2)"});
    } else if (columns[known] >= 0) {
      errors.push_back({header.Place, "the column " + name + " comes twice"});
    } else {
      columns[known] = static_cast<int>(i);
    }
  }
  for (std::size_t c = 0; c < kColCount; ++c)
    if (kRequired[c] && columns[c] < 0)
      errors.push_back({header.Place, "the header has no column " + std::string(kTableColumns[c])});
  return errors.size() == errorsBefore;
}

// A 0/1 field; empty gives the default.
std::optional<bool> ReadFlag(std::string_view text, bool byDefault) {
  text = TrimBlanks(text);
  if (text.empty()) return byDefault;
  if (text == "0") return false;
  if (text == "1") return true;
  return std::nullopt;
}

class TRowReader {
 public:
  TRowReader(const TColumnMap& columns, std::size_t fieldCount, TTextEncoding target, std::vector<TTableError>& errors)
      : columns_(columns), fieldCount_(fieldCount), target_(target), errors_(errors) {}

  // Adds the row's pair to its lesson, or its errors to the list.
  void Read(const TTableRow& row, std::map<int32_t, std::shared_ptr<TLesson>>& lessons) {
    place_ = row.Place;
    if (row.Fields.size() != fieldCount_) {
      Error("the row has " + std::to_string(row.Fields.size()) + " fields, the header " + std::to_string(fieldCount_));
      return;
    }
    const std::size_t errorsBefore = errors_.size();
    int32_t lessonNbr = 0;
    const std::string_view lessonText = TrimBlanks(row.Fields[Column(kColLesson)]);
    if (!TryStrToInt(lessonText, lessonNbr) || lessonNbr < 1 || lessonNbr > kMaxTableLessonNbr)
      Error("the lesson \"" + Shown(lessonText) + "\" is not a whole number from 1 to " +
            std::to_string(kMaxTableLessonNbr));
    const std::optional<bool> inUse = Flag(row, kColUse, true);
    const std::optional<bool> drawn = Flag(row, kColDrawn, false);

    TWordPear pear;
    pear.Word1 = Text(row, kColWord1, TPairField::Word1);
    pear.Word2 = Text(row, kColWord2, TPairField::Word2);
    pear.WavFile1 = Text(row, kColWav1, TPairField::WavFile1);
    pear.WavFile2 = Text(row, kColWav2, TPairField::WavFile2);
    if (errors_.size() != errorsBefore) return;

    // A file without a sound holds a single blank.
    if (pear.WavFile1.empty()) pear.WavFile1 = " ";
    if (pear.WavFile2.empty()) pear.WavFile2 = " ";
    pear.InUse = *inUse;
    pear.Drawn = *inUse && *drawn;  // drawn means nothing for a pair not in use

    std::shared_ptr<TLesson>& lesson = lessons[lessonNbr];
    if (!lesson) {
      lesson = std::make_shared<TLesson>();
      lesson->LessonNbr = lessonNbr;
    }
    pear.PearNbr = lesson->SlotCount();
    // The pair line must fit one line of the container, counted in the
    // file's bytes: one a character in Windows-1252 (every character has
    // passed the check for a byte by now).
    const std::string line = pear.GetFileLine();
    const std::size_t lineBytes = target_ == TTextEncoding::Utf8 ? line.size() : Utf8Length(line);
    if (lineBytes > kMaxContainerLine) {
      Error("the pair is too long for a line of a language file (" + std::to_string(lineBytes) + " of at most " +
            std::to_string(kMaxContainerLine) + " bytes)");
      return;
    }
    *lesson->NewPear(pear.PearNbr) = std::move(pear);
  }

 private:
  std::size_t Column(TTableColumn column) const { return static_cast<std::size_t>(columns_[column]); }

  void Error(std::string reason) { errors_.push_back({place_, std::move(reason)}); }

  std::optional<bool> Flag(const TTableRow& row, TTableColumn column, bool byDefault) {
    if (columns_[column] < 0) return byDefault;
    const std::string& text = row.Fields[Column(column)];
    std::optional<bool> value = ReadFlag(text, byDefault);
    if (!value) Error(std::string(kTableColumns[column]) + " is \"" + Shown(text) + "\", not 0 or 1");
    return value;
  }

  std::string Text(const TTableRow& row, TTableColumn column, TPairField field) {
    if (columns_[column] < 0) return {};
    std::string text;
    std::string problem = CheckPairField(field, row.Fields[Column(column)], text, target_);
    if (!problem.empty()) Error(std::move(problem));
    return text;
  }

  const TColumnMap& columns_;
  std::size_t fieldCount_;
  TTextEncoding target_;
  std::vector<TTableError>& errors_;
  TTablePlace place_;
};

}  // namespace

TTableImport ImportTable(std::string_view table, TTableFormat format, TTextEncoding target) {
  TTableImport result;
  std::vector<TTableRow> rows;
  TTableError parseError;
  if (!ParseTable(table, format, rows, parseError)) {
    result.Errors.push_back(std::move(parseError));
    return result;
  }

  std::size_t next = 0;
  while (next < rows.size() && IsBlankRow(rows[next])) ++next;
  if (next == rows.size()) {
    result.Errors.push_back({{}, "the table is empty; it needs a header row such as lesson, word1, word2"});
    return result;
  }
  TColumnMap columns;
  const TTableRow& header = rows[next++];
  if (!ReadHeader(header, columns, result.Errors)) return result;

  std::map<int32_t, std::shared_ptr<TLesson>> lessons;
  TRowReader reader(columns, header.Fields.size(), target, result.Errors);
  for (; next < rows.size(); ++next) {
    if (IsBlankRow(rows[next])) continue;
    reader.Read(rows[next], lessons);
  }
  if (!result.Errors.empty()) return result;
  if (lessons.empty()) {
    result.Errors.push_back({{}, "the table has no rows of phrase pairs below its header"});
    return result;
  }
  for (auto& [number, lesson] : lessons) {
    result.PairCount += lesson->PearCount();
    result.Lessons.push_back(std::move(lesson));
  }
  return result;
}

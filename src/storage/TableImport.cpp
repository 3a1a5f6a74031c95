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

bool ReadHeader(const TTableRow& header, bool lessonOptional, TColumnMap& columns, std::vector<TTableError>& errors) {
  columns.fill(-1);
  const std::size_t errorsBefore = errors.size();
  // A whole header in one field was split with another separator.
  if (header.Fields.size() == 1 && header.Fields[0].find_first_of("\t,") == std::string::npos &&
      header.Fields[0].find(';') != std::string::npos) {
    // What spreadsheets write in many locales.
    errors.push_back(TTableError::At(header.Place, {TTableReason::HeaderSemicolons, {Shown(header.Fields[0])}}));
    return false;
  }
  if (header.Fields.size() == 1 && header.Fields[0].find_first_of("\t,;") != std::string::npos) {
    errors.push_back(TTableError::At(header.Place, {TTableReason::HeaderOneField, {Shown(header.Fields[0])}}));
    return false;
  }
  for (std::size_t i = 0; i < header.Fields.size(); ++i) {
    const std::string name = LowerAscii(TrimBlanks(header.Fields[i]));
    std::size_t known = 0;
    while (known < kColCount && kTableColumns[known] != name) ++known;
    if (known == kColCount) {
      errors.push_back(TTableError::At(header.Place, {TTableReason::UnknownColumn, {Shown(header.Fields[i])}}));
    } else if (columns[known] >= 0) {
      errors.push_back(TTableError::At(header.Place, {TTableReason::ColumnTwice, {name}}));
    } else {
      columns[known] = static_cast<int>(i);
    }
  }
  for (std::size_t c = 0; c < kColCount; ++c)
    if (kRequired[c] && columns[c] < 0 && !(c == kColLesson && lessonOptional))
      errors.push_back(TTableError::At(header.Place, {TTableReason::MissingColumn, {std::string(kTableColumns[c])}}));
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
  TRowReader(const TColumnMap& columns, std::size_t fieldCount, TTextEncoding target, int32_t missingLesson,
             std::vector<TTableError>& errors)
      : columns_(columns), fieldCount_(fieldCount), target_(target), missingLesson_(missingLesson), errors_(errors) {}

  // Adds the row's pair to its lesson, or its errors to the list.
  void Read(const TTableRow& row, std::map<int32_t, std::shared_ptr<TLesson>>& lessons) {
    place_ = row.Place;
    if (row.Fields.size() != fieldCount_) {
      Error({TTableReason::FieldCount, {std::to_string(row.Fields.size()), std::to_string(fieldCount_)}});
      return;
    }
    const std::size_t errorsBefore = errors_.size();
    int32_t lessonNbr = missingLesson_;
    if (columns_[kColLesson] >= 0) {
      const std::string_view lessonText = TrimBlanks(row.Fields[Column(kColLesson)]);
      if (!TryStrToInt(lessonText, lessonNbr) || lessonNbr < 1 || lessonNbr > kMaxTableLessonNbr)
        Error({TTableReason::LessonNumber, {Shown(lessonText), std::to_string(kMaxTableLessonNbr)}});
    }
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
      Error({TTableReason::PairTooLong, {std::to_string(lineBytes), std::to_string(kMaxContainerLine)}});
      return;
    }
    *lesson->NewPear(pear.PearNbr) = std::move(pear);
  }

 private:
  std::size_t Column(TTableColumn column) const { return static_cast<std::size_t>(columns_[column]); }

  void Error(TTableProblem problem) { errors_.push_back(TTableError::At(place_, std::move(problem))); }

  std::optional<bool> Flag(const TTableRow& row, TTableColumn column, bool byDefault) {
    if (columns_[column] < 0) return byDefault;
    const std::string& text = row.Fields[Column(column)];
    std::optional<bool> value = ReadFlag(text, byDefault);
    if (!value) Error({TTableReason::FlagValue, {std::string(kTableColumns[column]), Shown(text)}});
    return value;
  }

  std::string Text(const TTableRow& row, TTableColumn column, TPairField field) {
    if (columns_[column] < 0) return {};
    std::string text;
    TTableProblem problem = PairFieldProblem(field, row.Fields[Column(column)], text, target_);
    if (!problem.Ok()) Error(std::move(problem));
    return text;
  }

  const TColumnMap& columns_;
  std::size_t fieldCount_;
  TTextEncoding target_;
  int32_t missingLesson_;
  std::vector<TTableError>& errors_;
  TTablePlace place_;
};

}  // namespace

TTableImport ImportTable(std::string_view table, TTableFormat format, TTextEncoding target, int32_t missingLesson) {
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
    result.Errors.push_back(TTableError::At({}, {TTableReason::TableEmpty, {}}));
    return result;
  }
  TColumnMap columns;
  const TTableRow& header = rows[next++];
  if (!ReadHeader(header, missingLesson > 0, columns, result.Errors)) return result;

  std::map<int32_t, std::shared_ptr<TLesson>> lessons;
  TRowReader reader(columns, header.Fields.size(), target, missingLesson, result.Errors);
  for (; next < rows.size(); ++next) {
    if (IsBlankRow(rows[next])) continue;
    reader.Read(rows[next], lessons);
  }
  if (!result.Errors.empty()) return result;
  if (lessons.empty()) {
    result.Errors.push_back(TTableError::At({}, {TTableReason::NoPairRows, {}}));
    return result;
  }
  for (auto& [number, lesson] : lessons) {
    result.PairCount += lesson->PearCount();
    result.Lessons.push_back(std::move(lesson));
  }
  return result;
}

#pragma once
#include <string>
#include <vector>

// Why a table, a row of it or a field cannot be taken, as a code with the
// values it names, so that a window can say it in the interface language
// while the command-line tool prints its English text.
enum class TTableReason {
  None,
  // Malformed CSV
  CsvStrayQuote,      // a quote inside an unquoted field
  CsvTextAfterQuote,  // text after the closing quote
  CsvOpenQuote,       // a quote that is never closed
  // The table as a whole
  TableEmpty,  // no header row
  NoPairRows,  // a header, no pairs below it
  // The header row
  HeaderSemicolons,  // {header}
  HeaderOneField,    // {header}
  UnknownColumn,     // {column as written}
  ColumnTwice,       // {column}
  MissingColumn,     // {column}
  // A row
  FieldCount,   // {fields of the row, fields of the header}
  LessonNumber, // {lesson as written, highest lesson}
  FlagValue,    // {column, value as written}
  PairTooLong,  // {bytes, most bytes}
  // A field; the first value is always the field's name (word1, --lang1, ...)
  NotUtf8,         // {field}
  NotInCp1252,     // {field, character, code point "U+0151"}
  LineBreak,       // {field, code point}
  Tab,             // {field, code point}
  ControlChar,     // {field, code point}
  Separator,       // {field, separator}
  EmptyPhrase,     // {field}
  EmptyField,      // {field}
  PhraseTooLong,   // {field, characters, most characters}
  StartsHeader,    // {field}
  // Export
  ExportTab,  // {lesson, pair, column}
};

// A reason with what it names.
struct TTableProblem {
  TTableReason Code = TTableReason::None;
  std::vector<std::string> Values;

  bool Ok() const { return Code == TTableReason::None; }
};

// Whether the reason is about one field; its first value names the field.
bool IsFieldReason(TTableReason code);

// The reason in English, as the command-line tool prints it.
std::string EnglishReason(const TTableProblem& problem);

// What a field reason says after the field's name: "is not valid UTF-8 ...".
// values: those of the reason without the field's name.
std::string EnglishFieldTail(TTableReason code, const std::vector<std::string>& values);

#include "TableReason.h"

namespace {

// The value at i, or nothing when a damaged problem holds fewer.
const std::string& At(const std::vector<std::string>& values, std::size_t i) {
  static const std::string kNone;
  return i < values.size() ? values[i] : kNone;
}

}  // namespace

bool IsFieldReason(TTableReason code) {
  return code >= TTableReason::NotUtf8 && code <= TTableReason::StartsHeader;
}

std::string EnglishFieldTail(TTableReason code, const std::vector<std::string>& v) {
  switch (code) {
    case TTableReason::NotUtf8:
      return "is not valid UTF-8 (a table from a spreadsheet in Latin-1 or Windows-1252: save it as UTF-8)";
    case TTableReason::NotInCp1252:
      return "contains \"" + At(v, 0) + "\" (" + At(v, 1) + "), which Windows-1252 cannot hold";
    case TTableReason::LineBreak: return "contains a line break, which would split the line of the language file";
    case TTableReason::Tab: return "contains a tab";
    case TTableReason::ControlChar: return "contains the control character " + At(v, 0);
    case TTableReason::Separator:
      return "contains \"" + At(v, 0) + "\", which separates or marks the fields of a language file line";
    case TTableReason::EmptyPhrase: return "is an empty phrase";
    case TTableReason::EmptyField: return "is empty";
    case TTableReason::PhraseTooLong:
      return "has " + At(v, 0) + " characters; the lesson editor takes at most " + At(v, 1);
    case TTableReason::StartsHeader: return "begins with \"[\", which starts a lesson header";
    default: return {};
  }
}

std::string EnglishReason(const TTableProblem& p) {
  const std::vector<std::string>& v = p.Values;
  if (IsFieldReason(p.Code))
    return At(v, 0) + " " + EnglishFieldTail(p.Code, std::vector<std::string>(v.begin() + (v.empty() ? 0 : 1), v.end()));
  switch (p.Code) {
    case TTableReason::None: return {};
    case TTableReason::CsvStrayQuote:
      return "malformed CSV: a quote inside a field that does not begin with a quote "
             "(write the field in quotes and double the quote)";
    case TTableReason::CsvTextAfterQuote: return "malformed CSV: text after the closing quote of a field";
    case TTableReason::CsvOpenQuote: return "malformed CSV: a quote that is never closed";
    case TTableReason::TableEmpty: return "the table is empty; it needs a header row such as lesson, word1, word2";
    case TTableReason::NoPairRows: return "the table has no rows of phrase pairs below its header";
    case TTableReason::HeaderSemicolons:
      return "the header row \"" + At(v, 0) +
             "\" is separated by semicolons, which are not a separator here: save the "
             "table with commas and use --csv, or with tabs and use --tsv";
    case TTableReason::HeaderOneField:
      return "the header row is one single field \"" + At(v, 0) +
             "\": is the table in the other format? Tab-separated tables need --tsv, "
             "comma-separated ones --csv";
    case TTableReason::UnknownColumn:
      return "unknown column \"" + At(v, 0) + "\" (the columns are lesson, pair, use, drawn, word1, word2, wav1, wav2)";
    case TTableReason::ColumnTwice: return "the column " + At(v, 0) + " comes twice";
    case TTableReason::MissingColumn: return "the header has no column " + At(v, 0);
    case TTableReason::FieldCount: return "the row has " + At(v, 0) + " fields, the header " + At(v, 1);
    case TTableReason::LessonNumber:
      return "the lesson \"" + At(v, 0) + "\" is not a whole number from 1 to " + At(v, 1);
    case TTableReason::FlagValue: return At(v, 0) + " is \"" + At(v, 1) + "\", not 0 or 1";
    case TTableReason::PairTooLong:
      return "the pair is too long for a line of a language file (" + At(v, 0) + " of at most " + At(v, 1) +
             " bytes)";
    case TTableReason::ExportTab:
      return "lesson " + At(v, 0) + ", pair " + At(v, 1) + ": " + At(v, 2) +
             " contains a tab, which a tab-separated table cannot carry; export with --csv";
    default: return {};
  }
}

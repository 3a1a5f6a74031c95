#include "TableErrorText.h"

#include <QStringList>

#include "core/CodePage.h"
#include "settings/AppLangHandl.h"
#include "settings/TextNumbers.h"
#include "widgets/UiText.h"

namespace {

// The text that says the reason; 0 where there is none (a reason only the
// command-line tool meets, such as a language name).
int TextOf(TTableReason code) {
  switch (code) {
    case TTableReason::CsvStrayQuote:
    case TTableReason::CsvTextAfterQuote: return txTableCsvStrayQuote;
    case TTableReason::CsvOpenQuote: return txTableCsvOpenQuote;
    case TTableReason::TableEmpty:
    case TTableReason::NoPairRows: return txTableNoPairs;
    case TTableReason::HeaderSemicolons:
    case TTableReason::HeaderOneField: return txTableHeaderOneField;
    case TTableReason::UnknownColumn: return txTableUnknownColumn;
    case TTableReason::ColumnTwice: return txTableColumnTwice;
    case TTableReason::MissingColumn: return txTableMissingColumn;
    case TTableReason::FieldCount: return txTableFieldCount;
    case TTableReason::LessonNumber: return txTableLessonNumber;
    case TTableReason::FlagValue: return txTableFlagValue;
    case TTableReason::PairTooLong: return txTablePairTooLong;
    case TTableReason::NotUtf8: return txTableNotUtf8;
    case TTableReason::NotInCp1252: return txTableNotInCp1252;
    case TTableReason::LineBreak:
    case TTableReason::Tab:
    case TTableReason::ControlChar: return txTableControlChar;
    case TTableReason::Separator: return txTableSeparator;
    case TTableReason::EmptyPhrase: return txTableEmptyPhrase;
    case TTableReason::PhraseTooLong: return txTablePhraseTooLong;
    case TTableReason::ExportTab: return txTableExportTab;
    default: return 0;
  }
}

// Puts the values into the places %1 to %9 in one pass, so a value that
// itself holds "%2" (a field of the table) stays as it is.
QString WithValues(const QString& text, const QStringList& values) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const int place = text[i + 1].digitValue() - 1;
      if (place < values.size()) {
        out += values[place];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace

QString TableProblemText(const TAppLangHandler& texts, const TTableProblem& problem) {
  const int number = TextOf(problem.Code);
  if (number == 0) return Utf8ToQString(EnglishReason(problem));
  QStringList values;
  for (const std::string& value : problem.Values) values << Utf8ToQString(value);
  return WithValues(UiText(texts, number), values);
}

QString TableErrorText(const TAppLangHandler& texts, const TTableError& error) {
  // An error made without a code still has its English reason.
  const QString reason = error.Problem.Ok() ? Utf8ToQString(error.Reason) : TableProblemText(texts, error.Problem);
  if (error.Place.RowNbr <= 0) return reason;
  return WithValues(UiText(texts, txTableRowError), {QString::number(error.Place.RowNbr), reason});
}

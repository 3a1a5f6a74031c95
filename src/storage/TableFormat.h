#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "TableReason.h"

// Tables of phrase pairs as text: tab-separated (no quoting, so no field may
// hold a tab or a line break) or RFC 4180 CSV. The text is UTF-8; the
// fields are handed on as they stand.

enum class TTableFormat { Tsv, Csv };

// Where a row stands: its number as a spreadsheet counts rows (the header is
// row 1) and the line it starts on. The two differ after a CSV field that
// holds a line break.
struct TTablePlace {
  int RowNbr = 0;
  int LineNbr = 0;
};

struct TTableRow {
  TTablePlace Place;
  std::vector<std::string> Fields;
};

struct TTableError {
  TTablePlace Place;  // RowNbr 0: the table as a whole
  std::string Reason;  // in English
  TTableProblem Problem = {};  // the same as a code, for a window's own language

  // An error at the place, its English reason made from the problem.
  static TTableError At(const TTablePlace& place, TTableProblem problem);

  // "row 3: reason", "row 3 (line 5): reason", or the reason alone.
  std::string Describe() const;
};

// Splits the text into rows; a leading UTF-8 byte-order mark is skipped.
// Lines end with LF or CR LF; a last line without a line end still counts.
// False, with the place and reason in error, for a malformed CSV quote:
// a quote that is never closed, anything but a separator or a line end
// after a closing quote, or a quote inside an unquoted field.
bool ParseTable(std::string_view text, TTableFormat format, std::vector<TTableRow>& rows, TTableError& error);

// Whether the field can be written in the format as it stands (a
// tab-separated table has no way to carry a tab or a line break).
bool TableFieldFits(std::string_view field, TTableFormat format);

// One row with its line end: TSV fields joined by tabs and ended by LF;
// CSV fields quoted where needed (a comma, a quote, a line break, or a blank
// at either end) with doubled quotes, ended by CR LF as RFC 4180 has it.
std::string FormatTableRow(const std::vector<std::string>& fields, TTableFormat format);

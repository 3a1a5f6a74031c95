#pragma once
#include <string>

#include "TableFormat.h"
#include "storage/LangFHandler.h"

// The table of every pair of the handler's lessons: the header row, then one
// row per pair, lessons ascending and pairs ascending. use and drawn are 0
// or 1; a sound file that is the single blank gives an empty field. Texts
// go out in UTF-8, as the handler holds them whatever the file's encoding.
// False, with the reason in error, when a field cannot be written in the
// format (a tab in a tab-separated table); out is then incomplete.
bool ExportTable(const TLangFHandler& handler, TTableFormat format, std::string& out, std::string& error);
// The same, the reason as a code with the values it names.
bool ExportTable(const TLangFHandler& handler, TTableFormat format, std::string& out, TTableProblem& error);

#pragma once
#include <QString>

#include "storage/TableFormat.h"

class TAppLangHandler;

// Why a table cannot be taken or written, in the interface language; a
// reason without a text of its own keeps the English one.
QString TableProblemText(const TAppLangHandler& texts, const TTableProblem& problem);

// "Row 3: reason", or the reason alone where it concerns the whole table.
QString TableErrorText(const TAppLangHandler& texts, const TTableError& error);

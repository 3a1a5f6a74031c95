#pragma once
#include <ostream>

#include "storage/LoadLosses.h"

// Writes what a load of a language file dropped: one line per kind with its
// count, then the places of the first few. Nothing when nothing was dropped.
void WriteLossReport(const TLoadLosses& losses, std::ostream& out);

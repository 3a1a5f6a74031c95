#pragma once
#include <ostream>

struct TPractiseStats;

// The statistics as plain-text tables: per lesson, per day, typed answers.
void WriteStatsTables(const TPractiseStats& stats, std::ostream& out);

#pragma once
#include <ostream>

#include "ToolArgs.h"

struct TPractiseStats;

// quillmere-lang stats FILE [--history FILE] [--settings FILE]: the
// statistics window's figures for a language file, from the learner's
// history and settings or the ones named.
int StatsCommand(const TToolArgs& args, std::ostream& out);

// The statistics as plain-text tables: per lesson, per day, typed answers.
void WriteStatsTables(const TPractiseStats& stats, std::ostream& out);

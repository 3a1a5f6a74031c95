#pragma once
#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "settings/ExerciseList.h"
#include "storage/HistoryFile.h"

class TAppIniFile;
class TLangFHandler;

// The figures of one lesson: its pairs, those in use, those held back by
// their priority (1 to 8) in the exercise list, and those out of use.
struct TLessonFigures {
  int32_t Lesson = 0;  // -1 for the total
  int32_t Pairs = 0;
  int32_t InUse = 0;
  std::array<int32_t, 9> HeldBack{};  // by priority; [0] unused
  int32_t Retired = 0;
  int32_t HeldBackTotal() const;
};

// What the statistics window and `quillmere-lang stats` show.
struct TPractiseStats {
  std::vector<TLessonFigures> Lessons;
  TLessonFigures Total;
  // Pairs practised on each of the last days, oldest first ("2026-12-11", count).
  std::vector<std::pair<std::string, long>> LastDays;
  // Typed answers over the whole history.
  long Right = 0;
  long Wrong = 0;
  std::size_t SkippedLines = 0;
  std::string HistoryError;
  // Right answers in percent, rounded; -1 without typed answers.
  int SuccessPercent() const;
};

inline constexpr int kStatsDays = 28;

// list: the exercise list kept for the file (its priorities); history: the
// history's summary for the file; now: the last day shown.
TPractiseStats CollectPractiseStats(const TLangFHandler& file, const TExerciseWords& list,
                                    const THistorySummary& history, std::time_t now, int days = kStatsDays);

// The exercise list the settings keep for langFile (held-back entries
// included): the current one or a kept one; empty when there is none.
TExerciseWords KeptExerciseList(const TAppIniFile& settings, const std::string& langFile);

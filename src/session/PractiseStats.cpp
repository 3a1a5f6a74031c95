#include "PractiseStats.h"

#include <cmath>
#include <map>
#include <set>

#include "core/Lesson.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

int32_t TLessonFigures::HeldBackTotal() const {
  int32_t total = 0;
  for (int p = 1; p <= 8; ++p) total += HeldBack[static_cast<std::size_t>(p)];
  return total;
}

int TPractiseStats::SuccessPercent() const {
  const long typed = Right + Wrong;
  if (typed <= 0) return -1;
  return static_cast<int>(std::lround(100.0 * static_cast<double>(Right) / static_cast<double>(typed)));
}

TPractiseStats CollectPractiseStats(const TLangFHandler& file, const TExerciseWords& list,
                                    const THistorySummary& history, std::time_t now, int days) {
  TPractiseStats stats;
  stats.Total.Lesson = -1;
  for (int32_t nbr = 0; nbr < file.LessonSlotCount(); ++nbr) {
    const auto lesson = file.GetLesson(nbr);
    if (!lesson) continue;
    TLessonFigures figures;
    figures.Lesson = nbr;
    for (int32_t slot = 0; slot < lesson->SlotCount(); ++slot) {
      const auto pear = lesson->GetPear(slot);
      if (!pear) continue;
      ++figures.Pairs;
      if (pear->InUse)
        ++figures.InUse;
      else
        ++figures.Retired;
    }
    stats.Lessons.push_back(figures);
  }
  std::map<int32_t, TLessonFigures*> byNumber;
  for (TLessonFigures& figures : stats.Lessons) byNumber[figures.Lesson] = &figures;
  // A pair the list names twice is held back once, by its first entry.
  std::set<std::pair<int32_t, int32_t>> seen;
  for (const TExerciseWord& w : list) {
    if (w.Priority < 1 || w.Priority > 8 || !seen.insert({w.LessonNbr, w.PearNbr}).second) continue;
    const auto figures = byNumber.find(w.LessonNbr);
    if (figures == byNumber.end()) continue;
    const auto pear = file.GetLesson(w.LessonNbr)->GetPear(w.PearNbr);
    if (pear && pear->InUse) ++figures->second->HeldBack[static_cast<std::size_t>(w.Priority)];
  }
  for (const TLessonFigures& f : stats.Lessons) {
    stats.Total.Pairs += f.Pairs;
    stats.Total.InUse += f.InUse;
    stats.Total.Retired += f.Retired;
    for (std::size_t p = 1; p <= 8; ++p) stats.Total.HeldBack[p] += f.HeldBack[p];
  }
  // Days are counted back by calendar date, so a change to or from summer
  // time neither skips nor repeats one.
  std::tm day{};
  localtime_r(&now, &day);
  day.tm_hour = 12;
  for (int back = days - 1; back >= 0; --back) {
    std::tm at = day;
    at.tm_mday -= back;
    at.tm_isdst = -1;
    const std::string date = HistoryDate(std::mktime(&at));
    const auto it = history.Days.find(date);
    stats.LastDays.emplace_back(date, it == history.Days.end() ? 0L : it->second.Pairs);
  }
  stats.Right = history.Right;
  stats.Wrong = history.Wrong;
  stats.SkippedLines = history.Skipped;
  stats.HistoryError = history.Error;
  return stats;
}

TExerciseWords KeptExerciseList(const TAppIniFile& settings, const std::string& langFile) {
  const std::string key = HistoryFileKey(langFile);
  if (!settings.LangFileName.empty() && HistoryFileKey(settings.LangFileName) == key)
    return StoredList(settings.ExerciseWords, settings.DeferredWords);
  for (const auto& [name, words] : settings.FileLists)
    if (HistoryFileKey(name) == key) return words;
  return {};
}

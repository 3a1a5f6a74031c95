// The figures of the statistics: per lesson from the file and the kept
// exercise list, per day and for typed answers from the history.
#include "session/PractiseStats.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/Lesson.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

namespace {
// Lesson 1: four pairs, the last out of use; lesson 3: two pairs; lesson 2 missing.
void Fill(TLangFHandler& file) {
  file.SetLangNames("One", "Two");
  for (const auto& [nbr, count] : {std::pair{1, 4}, std::pair{3, 2}}) {
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = nbr;
    for (int32_t i = 0; i < count; ++i) {
      auto p = lesson->NewPear(i);
      p->Word1 = "w" + std::to_string(i);
      p->Word2 = "v" + std::to_string(i);
      p->InUse = !(nbr == 1 && i == 3);
    }
    file.PutLesson(lesson);
  }
}

std::time_t Noon(int year, int month, int day) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return std::mktime(&t);
}
}  // namespace

TEST(PractiseStatsTest, LessonsCountTheirPairsAndThoseHeldBackByPriority) {
  TLangFHandler file;
  Fill(file);
  const TExerciseWords list = {
      {1, 0, 2, false}, {1, 1, 0, false}, {3, 0, 8, false},
      {1, 0, 5, false},  // the same pair again: counted once, by its first entry
      {1, 3, 3, false},  // out of use: retired, not held back
      {9, 9, 1, false},  // no such pair
      {3, 1, 9, false},  // retired in this session, not split off yet
  };
  const TPractiseStats stats = CollectPractiseStats(file, list, {}, Noon(2026, 12, 11));
  ASSERT_EQ(stats.Lessons.size(), 2u);
  const TLessonFigures& one = stats.Lessons[0];
  EXPECT_EQ(one.Lesson, 1);
  EXPECT_EQ(one.Pairs, 4);
  EXPECT_EQ(one.InUse, 3);
  EXPECT_EQ(one.Retired, 1);
  EXPECT_EQ(one.HeldBack[2], 1);
  EXPECT_EQ(one.HeldBackTotal(), 1);
  const TLessonFigures& three = stats.Lessons[1];
  EXPECT_EQ(three.Lesson, 3);
  EXPECT_EQ(three.Pairs, 2);
  EXPECT_EQ(three.HeldBack[8], 1);
  EXPECT_EQ(stats.Total.Pairs, 6);
  EXPECT_EQ(stats.Total.InUse, 5);
  EXPECT_EQ(stats.Total.Retired, 1);
  EXPECT_EQ(stats.Total.HeldBackTotal(), 2);
  EXPECT_EQ(stats.SuccessPercent(), -1);
}

TEST(PractiseStatsTest, DaysEndTodayAndTypedAnswersGiveARate) {
  TLangFHandler file;
  Fill(file);
  THistorySummary history;
  history.Days["2026-11-13"] = {50, 0, 0};  // one day too early for the chart
  history.Days["2026-11-14"] = {4, 1, 1};
  history.Days["2026-12-11"] = {7, 1, 0};
  history.Right = 2;
  history.Wrong = 1;
  history.Skipped = 3;
  const TPractiseStats stats = CollectPractiseStats(file, {}, history, Noon(2026, 12, 11));
  ASSERT_EQ(stats.LastDays.size(), static_cast<std::size_t>(kStatsDays));
  EXPECT_EQ(stats.LastDays.front(), (std::pair<std::string, long>{"2026-11-14", 4}));
  EXPECT_EQ(stats.LastDays.back(), (std::pair<std::string, long>{"2026-12-11", 7}));
  long sum = 0;
  for (const auto& day : stats.LastDays) sum += day.second;
  EXPECT_EQ(sum, 11);
  EXPECT_EQ(stats.SuccessPercent(), 67);
  EXPECT_EQ(stats.SkippedLines, 3u);
}

TEST(PractiseStatsTest, DaysAcrossTheChangeOfClockAreNeitherSkippedNorRepeated) {
  TLangFHandler file;
  const TPractiseStats stats = CollectPractiseStats(file, {}, {}, Noon(2026, 11, 10), 60);
  for (std::size_t i = 1; i < stats.LastDays.size(); ++i)
    EXPECT_LT(stats.LastDays[i - 1].first, stats.LastDays[i].first);
  EXPECT_EQ(stats.LastDays.front().first, "2026-09-12");
}

TEST(PractiseStatsTest, KeptListIsTheCurrentOneOrTheOneKeptForTheFile) {
  QTemporaryDir dir;
  TAppIniFile ini(dir.path().toStdString(), nullptr);
  const std::string current = dir.filePath("current.lang").toStdString();
  const std::string other = dir.filePath("other.lang").toStdString();
  ini.LangFileName = current;
  ini.ExerciseWords = {{1, 0, 0, false}, {1, 1, 9, false}};
  ini.DeferredWords = {{1, 2, 4, false}};
  ini.FileLists[other] = {{2, 0, 3, false}};
  EXPECT_EQ(KeptExerciseList(ini, current), (TExerciseWords{{1, 0, 0, false}, {1, 2, 4, false}}));
  // The same file by another way of writing its name.
  EXPECT_EQ(KeptExerciseList(ini, dir.filePath("./x/../other.lang").toStdString()), (TExerciseWords{{2, 0, 3, false}}));
  EXPECT_TRUE(KeptExerciseList(ini, dir.filePath("third.lang").toStdString()).empty());
}

// The learner's history: appended whole lines, read tolerantly, folded
// after a year, and a failing write that leaves the file as it was.
#include "storage/HistoryFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "FileText.h"
#include "SaveCallFault.h"
#include "ScratchMount.h"
#include "storage/AppendFile.h"

namespace fs = std::filesystem;

namespace {


std::time_t At(int year, int month, int day, int hour = 12) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

TPractisedPair Pair(std::time_t time, int lesson, int pair, int priority, TTypedVerdict typed = TTypedVerdict::None) {
  return TPractisedPair{time, lesson, pair, priority, typed};
}

const std::string kFile = "/home/learner/LangFiles/english_german.lang";

class HistoryFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir_;
  fs::path history_ = fs::path(dir_.path().toStdString()) / kHistoryFileName;
};
}  // namespace

TEST_F(HistoryFileTest, PassesAddUpByDayWithTheirTypedAnswers) {
  THistoryFile file(history_);
  const std::string other = "/tmp/odd\tname\\with\nbreaks.lang";
  ASSERT_TRUE(file.Append(kFile,
                          {Pair(At(2026, 12, 10, 9), 1, 0, 2, TTypedVerdict::Right),
                           Pair(At(2026, 12, 10, 9), 1, 1, 0, TTypedVerdict::Wrong), Pair(At(2026, 12, 11), 2, 5, 9)},
                          At(2026, 12, 11))
                  .Ok());
  ASSERT_TRUE(file.Append(other, {Pair(At(2026, 12, 11), 3, 3, 1, TTypedVerdict::Right)}, At(2026, 12, 11)).Ok());

  const THistorySummary mine = ReadHistory(history_, kFile);
  EXPECT_EQ(mine.Skipped, 0u);
  ASSERT_EQ(mine.Days.size(), 2u);
  EXPECT_EQ(mine.Days.at("2026-12-10").Pairs, 2);
  EXPECT_EQ(mine.Days.at("2026-12-10").Right, 1);
  EXPECT_EQ(mine.Days.at("2026-12-10").Wrong, 1);
  EXPECT_EQ(mine.Days.at("2026-12-11").Pairs, 1);
  EXPECT_EQ(mine.Right, 1);
  EXPECT_EQ(mine.Wrong, 1);
  // A name with a tab and line breaks stays one field of one line.
  const THistorySummary theirs = ReadHistory(history_, other);
  EXPECT_EQ(theirs.Days.size(), 1u);
  EXPECT_EQ(theirs.Right, 1);
  EXPECT_EQ(theirs.Skipped, 0u);
}

TEST_F(HistoryFileTest, MissingFileIsAnEmptyHistory) {
  const THistorySummary summary = ReadHistory(history_, kFile);
  EXPECT_TRUE(summary.Days.empty());
  EXPECT_TRUE(summary.Error.empty());
  EXPECT_EQ(summary.Skipped, 0u);
}

TEST_F(HistoryFileTest, LineCutByACrashIsSkippedAndTheNextPassStartsAFreshLine) {
  THistoryFile file(history_);
  ASSERT_TRUE(file.Append(kFile, {Pair(At(2026, 12, 9), 1, 0, 0), Pair(At(2026, 12, 9), 1, 1, 0)}, At(2026, 12, 9)).Ok());
  // The crash cut the second line in the middle of its priority field.
  const std::string whole = Slurp(history_);
  Spit(history_, whole.substr(0, whole.size() - kFile.size() - 6));
  THistorySummary summary = ReadHistory(history_, kFile);
  EXPECT_EQ(summary.Days.at("2026-12-09").Pairs, 1);
  EXPECT_EQ(summary.Skipped, 1u);

  ASSERT_TRUE(THistoryFile(history_).Append(kFile, {Pair(At(2026, 12, 10), 1, 2, 3)}, At(2026, 12, 10)).Ok());
  summary = ReadHistory(history_, kFile);
  EXPECT_EQ(summary.Days.at("2026-12-09").Pairs, 1);
  EXPECT_EQ(summary.Days.at("2026-12-10").Pairs, 1);
  EXPECT_EQ(summary.Skipped, 0u) << "the first append of a run drops the damaged line";
}

TEST_F(HistoryFileTest, DamagedLinesAreSkippedOneByOne) {
  const std::string good = "2026-12-10 08:00:00\t1\t2\t3\t-\t" + kFile + "\n";
  const std::string damaged[] = {
      "2026-12-10 08:00\t1\t2\t3\t-\t" + kFile,          // time cut short
      "2026-13-xx 08:00:00\t1\t2\t3\t-\t" + kFile,       // not a date
      "2026-12-10 08:00:00\t1\t2\t10\t-\t" + kFile,      // priority beyond 9
      "2026-12-10 08:00:00\t-1\t2\t3\t-\t" + kFile,      // negative lesson
      "2026-12-10 08:00:00\t1\t2\t3\tmaybe\t" + kFile,   // unknown verdict
      "2026-12-10 08:00:00\t1\t2\t3\t-",                 // no file
      "2026-12-10 08:00:00\t1\t2\t3\t-\t" + kFile + "\\q",  // unknown escape
      "2026-12-10\tday\t2\t3\t0\t" + kFile,              // more right than pairs
      "2026-12-10\tday\t99999999999999999999\t0\t0\t" + kFile,
      std::string(200000, 'x'),                          // a line of no end
      std::string("\0\0\0", 3),
  };
  std::string content = "# a comment\n\n" + good;
  for (const std::string& line : damaged) content += line + "\n" + good;
  Spit(history_, content);
  const THistorySummary summary = ReadHistory(history_, kFile);
  EXPECT_EQ(summary.Skipped, std::size(damaged));
  EXPECT_EQ(summary.Days.at("2026-12-10").Pairs, static_cast<long>(std::size(damaged)) + 1);
}

TEST_F(HistoryFileTest, LinesAYearOldFoldIntoDayTotals) {
  const std::string old1 = HistoryLines(kFile, {Pair(At(2025, 1, 5, 8), 1, 0, 1, TTypedVerdict::Right),
                                                Pair(At(2025, 1, 5, 9), 1, 1, 0, TTypedVerdict::Wrong),
                                                Pair(At(2025, 1, 6), 1, 1, 0)});
  const std::string recent = HistoryLines(kFile, {Pair(At(2026, 12, 1), 2, 0, 0)});
  // A day already folded before gets the pairs of its day that came later.
  Spit(history_, "2025-01-05\tday\t4\t1\t0\t" + kFile + "\n" + old1 + recent);
  const THistorySummary before = ReadHistory(history_, kFile);

  bool folded = false;
  ASSERT_TRUE(FoldHistory(history_, "2025-12-11", &folded).Ok());
  EXPECT_TRUE(folded);
  EXPECT_EQ(Slurp(history_), "2025-01-05\tday\t6\t2\t1\t" + kFile + "\n2025-01-06\tday\t1\t0\t0\t" + kFile + "\n" + recent);
  const THistorySummary after = ReadHistory(history_, kFile);
  EXPECT_EQ(after.Days.size(), before.Days.size());
  for (const auto& [date, day] : before.Days) {
    EXPECT_EQ(after.Days.at(date).Pairs, day.Pairs) << date;
    EXPECT_EQ(after.Days.at(date).Right, day.Right) << date;
  }
  // Nothing more to fold: the file is not written again.
  ASSERT_TRUE(FoldHistory(history_, "2025-12-11", &folded).Ok());
  EXPECT_FALSE(folded);
}

TEST_F(HistoryFileTest, FirstAppendOfARunFoldsWhatIsAYearOld) {
  Spit(history_, HistoryLines(kFile, {Pair(At(2025, 11, 1), 1, 0, 0)}));
  ASSERT_TRUE(THistoryFile(history_).Append(kFile, {Pair(At(2026, 12, 11), 1, 1, 0)}, At(2026, 12, 11)).Ok());
  const std::string content = Slurp(history_);
  EXPECT_EQ(content.rfind("2025-11-01\tday\t1\t0\t0\t", 0), 0u) << content;
  EXPECT_NE(content.find("2026-12-11 12:00:00\t1\t1\t0\t-\t"), std::string::npos) << content;
}

TEST_F(HistoryFileTest, FailingWriteOrSyncLeavesTheFileAsItWas) {
  ASSERT_TRUE(THistoryFile(history_).Append(kFile, {Pair(At(2026, 12, 9), 1, 0, 0)}, At(2026, 12, 9)).Ok());
  const std::string before = Slurp(history_);
  const std::vector<TPractisedPair> pass(50, Pair(At(2026, 12, 10), 1, 0, 4));
  struct TCase {
    const char* name;
    TSaveCallFault fault;
    const char* step;
  };
  const TCase cases[] = {
      {"full disk at the first write", {TSaveCall::Write, ENOSPC}, "write"},
      {"full disk after a short write", {TSaveCall::Write, ENOSPC, 2, false, 100}, "write"},
      {"sync fails", {TSaveCall::Fdatasync, EIO}, "fdatasync"},
      {"cannot open", {TSaveCall::Open, EACCES}, "open"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TSaveCallFailure failing(c.fault);
    THistoryFile file(history_);
    const TSaveResult result = file.Append(kFile, pass, At(2026, 12, 10));
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Step, c.step);
    EXPECT_FALSE(result.Reason.empty());
    EXPECT_EQ(Slurp(history_), before);
  }
}

TEST_F(HistoryFileTest, FullDiskLeavesTheHistoryWhole) {
  TScratchMount disk("size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  const fs::path history = disk.Path() / kHistoryFileName;
  THistoryFile file(history);
  ASSERT_TRUE(file.Append(kFile, {Pair(At(2026, 12, 9), 1, 0, 0)}, At(2026, 12, 9)).Ok());
  const std::string before = Slurp(history);
  ASSERT_TRUE(disk.Fill("filler"));
  const TSaveResult result = file.Append(kFile, std::vector<TPractisedPair>(400, Pair(At(2026, 12, 10), 1, 0, 4)),
                                         At(2026, 12, 10));
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(result.Error, ENOSPC);
  EXPECT_EQ(Slurp(history), before);
  EXPECT_EQ(ReadHistory(history, kFile).Skipped, 0u);
}

TEST_F(HistoryFileTest, FolderInTheHistorysPlaceIsRefused) {
  fs::create_directory(history_);
  const TSaveResult result = THistoryFile(history_).Append(kFile, {Pair(At(2026, 12, 9), 1, 0, 0)}, At(2026, 12, 9));
  EXPECT_FALSE(result.Ok());
  EXPECT_FALSE(result.Reason.empty());
  EXPECT_TRUE(ReadHistory(history_, kFile).Days.empty());
}

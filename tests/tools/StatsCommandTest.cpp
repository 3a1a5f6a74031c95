// quillmere-lang stats: the statistics window's figures as tables.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <fstream>

#include "StoredImage.h"
#include "ToolRun.h"
#include "settings/AppIniFile.h"
#include "storage/FileUtil.h"
#include "storage/HistoryFile.h"

namespace {
class StatsCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // Lesson 1: three pairs, one out of use; lesson 2: one pair.
    ASSERT_TRUE(WriteFileBytes(langFile_, ContainerOf({"Encoding=UTF-8", "[General]", "English@German", "[1]",
                                                       "0=a@A# @ *", "1=b@B# @ *", "2=c@C# @ ", "[2]", "0=d@D# @ *"}),
                               false));
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  // A settings file whose exercise list holds the pairs 1-0 with priority 3 and 2-0 with 0.
  std::string Settings() {
    QFile empty(QString::fromStdString(Path("Quillmere.Ini")));
    EXPECT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    TAppIniFile ini(dir_.path().toStdString(), nullptr);
    ini.ReadExercise();
    ini.LangFileName = langFile_;
    ini.Lang1 = "English";
    ini.Lang2 = "German";
    ini.AvailableUnits = {1, 2};
    ini.ExerciseWords = {{1, 0, 3, false}, {2, 0, 0, false}};
    ini.WriteExercise();
    EXPECT_TRUE(ini.UpdateFile());
    return Path("Quillmere.Ini");
  }
  void History(const std::string& content) {
    std::ofstream out(Path("history"), std::ios::binary);
    out << content;
  }

  QTemporaryDir dir_;
  std::string langFile_ = Path("words.lang");
};

std::time_t Today() { return std::time(nullptr); }
}  // namespace

TEST_F(StatsCommandTest, TablesShowLessonsPrioritiesDaysAndTypedAnswers) {
  const std::string key = HistoryFileKey(langFile_);
  History(HistoryLines(key, {{Today(), 1, 0, 3, TTypedVerdict::Right},
                             {Today(), 1, 1, 0, TTypedVerdict::Wrong},
                             {Today(), 2, 0, 0, TTypedVerdict::Right}}) +
          HistoryLines("/elsewhere/other.lang", {{Today(), 1, 0, 0, TTypedVerdict::Wrong}}) + "2026-12-1");
  const TRun run = RunTool({"stats", langFile_, "--history", Path("history"), "--settings", Settings()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Lesson  Pairs  In use  Held back   1   2   3   4   5   6   7   8  Retired\n"
                         "     1      3       2          1   0   0   1   0   0   0   0   0        1\n"
                         "     2      1       1          0   0   0   0   0   0   0   0   0        0\n"
                         " Total      4       3          1   0   0   1   0   0   0   0   0        1\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(HistoryDate(Today()) + "      3\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Together         3\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Typed answers: 2 right, 1 wrong (67% right).\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("History: 1 line could not be read and was skipped.\n"), std::string::npos) << run.out;
}

TEST_F(StatsCommandTest, MissingHistoryAndNoListGiveEmptyFigures) {
  const TRun run = RunTool({"stats", langFile_, "--history", Path("none"), "--settings", Settings()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Together         0\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Typed answers: none.\n"), std::string::npos) << run.out;

  // Settings that keep nothing for this file: nothing is held back, and it says why.
  const TRun other = RunTool({"stats", langFile_, "--history", Path("none"), "--settings", Path("empty.ini")});
  EXPECT_EQ(other.status, 1);
  QFile empty(QString::fromStdString(Path("empty.ini")));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  const TRun none = RunTool({"stats", langFile_, "--history", Path("none"), "--settings", Path("empty.ini")});
  ASSERT_EQ(none.status, 0) << none.err;
  EXPECT_NE(none.out.find("The settings keep no exercise list for this file"), std::string::npos) << none.out;
}

TEST_F(StatsCommandTest, UsageAndUnreadableFiles) {
  struct TCase {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {
      {{"stats"}, 2, "Usage: quillmere-lang stats"},
      {{"stats", Path("nothing.lang")}, 1, "no such file"},
      {{"stats", langFile_, "--history"}, 2, "--history"},
      {{"stats", langFile_, "--bogus", "x"}, 2, "--bogus"},
  };
  for (const TCase& c : cases) {
    const TRun run = RunTool(c.args);
    SCOPED_TRACE(c.args.size());
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE((run.err + run.out).find(c.says), std::string::npos) << run.err << run.out;
  }
}

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "SaveCallFault.h"
#include "session/ExerciseComposer.h"
#include "session/EditorChange.h"
#include "session/Session.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

namespace {

struct TCountingReporter : TSessionReporter {
  int notKept = 0, changedElsewhere = 0, historyNotKept = 0;
  std::string historyReason;
  void ProgressNotKept() override { ++notKept; }
  void LangFileChangedElsewhere() override { ++changedElsewhere; }
  void HistoryNotKept(const std::string&, const std::string& reason) override {
    ++historyNotKept;
    historyReason = reason;
  }
};

// A program directory with a settings file and a language file of 40 pairs.
class SessionTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string appDir = dir.path().toStdString();
  std::string langFile = appDir + "/forty.lang";

  void SetUp() override {
    QFile ini(dir.filePath("Quillmere.Ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    TLangFHandler file;
    file.SetLangNames("One", "Two");
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    for (int32_t i = 0; i < 40; ++i) {
      auto p = lesson->NewPear(i);
      p->Word1 = "w" + std::to_string(i);
      p->Word2 = "v" + std::to_string(i);
      p->WavFile1 = p->WavFile2 = " ";
      p->InUse = true;
    }
    file.PutLesson(lesson);
    ASSERT_TRUE(file.SaveLangFile(langFile));
  }

  std::unique_ptr<TSession> Open(std::uint32_t seed) {
    auto session = std::make_unique<TSession>(std::make_unique<TAppIniFile>(appDir, nullptr), seed);
    TAppIniFile& ini = session->IniFile();
    ini.ReadExercise();
    ini.ReadProperties();
    ini.LangFileName = langFile;
    ini.AvailableUnits = {1};
    ini.MaxWords = 10;
    return session;
  }
};

TEST_F(SessionTest, TheSameSeedDrawsTheSameList) {
  auto first = Open(42);
  first->ComposeNew();
  const TExerciseWords drawn = first->IniFile().ExerciseWords;
  ASSERT_EQ(drawn.size(), 10u);
  ASSERT_TRUE(first->SaveSettings());
  first.reset();
  SetUp();  // the language file as it was before the draw
  auto second = Open(42);
  second->ComposeNew();
  EXPECT_EQ(second->IniFile().ExerciseWords, drawn);
}

TEST_F(SessionTest, ProgressIsKeptOnlyWhileTheSessionRunsAndAFailureIsSaidOnce) {
  auto session = Open(1);
  TCountingReporter reporter;
  session->SetReporter(&reporter);
  session->ComposeNew();
  session->KeepProgress();  // not running yet: nothing written
  QFile ini(dir.filePath("Quillmere.Ini"));
  EXPECT_EQ(ini.size(), 0);
  session->SetKeepingProgress(true);
  session->KeepProgress();
  EXPECT_GT(ini.size(), 0);
  EXPECT_EQ(reporter.notKept, 0);
  // A disk that fails every write: said once, however often it fails.
  TSaveCallFailure failure({TSaveCall::Write, ENOSPC});
  session->IniFile().MaxWords = 11;
  session->KeepProgress();
  session->IniFile().MaxWords = 12;
  session->KeepProgress();
  EXPECT_GE(failure.Calls(), 2);
  EXPECT_EQ(reporter.notKept, 1);
}

TEST_F(SessionTest, PassesGoToTheHistoryInTheDataFolderAndAFailureIsSaidOnce) {
  auto session = Open(1);
  TCountingReporter reporter;
  session->SetReporter(&reporter);
  const std::vector<TPractisedPair> pass = {{std::time(nullptr), 1, 4, 2, TTypedVerdict::Right}};
  session->RecordPractice(pass);  // not running yet: nothing written
  const std::string history = appDir + "/" + kHistoryFileName;
  EXPECT_EQ(session->HistoryFileName(), history);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(history)));
  session->SetKeepingProgress(true);
  session->RecordPractice(pass);
  session->RecordPractice(pass);
  const THistorySummary summary = ReadHistory(history, HistoryFileKey(langFile));
  ASSERT_EQ(summary.Days.size(), 1u);
  EXPECT_EQ(summary.Days.begin()->second.Pairs, 2);
  EXPECT_EQ(summary.Right, 2);
  {
    TSaveCallFailure failure({TSaveCall::Write, ENOSPC});
    session->RecordPractice(pass);
    session->RecordPractice(pass);
    EXPECT_EQ(failure.Calls(), 2);
  }
  EXPECT_EQ(reporter.historyNotKept, 1);
  EXPECT_FALSE(reporter.historyReason.empty());
  EXPECT_EQ(ReadHistory(history, HistoryFileKey(langFile)).Right, 2);
}

TEST_F(SessionTest, EditorChangeCodesCutOrComposeTheList) {
  struct TCase {
    int code;
    TEditorChangeDone done;
  };
  for (const TCase& c : {TCase{ccNothing, TEditorChangeDone::Nothing}, TCase{ccMaxWords, TEditorChangeDone::MaxWordsChanged},
                         TCase{ccLessons, TEditorChangeDone::Composed}, TCase{ccLangFile, TEditorChangeDone::Composed},
                         TCase{ccNoLesson, TEditorChangeDone::Nothing}}) {
    auto session = Open(3);
    session->ComposeNew();
    session->ListRead();
    session->IniFile().MaxWords = 4;
    EXPECT_EQ(session->ApplyEditorChange(c.code), c.done) << c.code;
    const std::size_t expected = c.done == TEditorChangeDone::Nothing ? 10u : 4u;
    EXPECT_EQ(session->IniFile().ExerciseWords.size(), expected) << c.code;
  }
}

}  // namespace

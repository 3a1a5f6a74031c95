// The run cycle without a window: a fake view, a fake session, a card that
// draws nothing and timers ticked by hand.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <string>
#include <vector>

#include "session/CardDrawing.h"
#include "session/ExerciseRun.h"
#include "session/ExerciseSession.h"
#include "session/VoiceOutput.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

namespace {

struct TFakeView : TExerciseRunView {
  std::vector<std::string> rows;  // question "|" answer
  std::vector<int> rowPriorities;
  bool run = false, stop = false, next = false;
  int stateText = -2;
  int checkedPriority = -1;
  bool tableVisible = false;
  std::deque<bool> repeatAnswers;
  int asked = 0, closed = 0, tableShown = 0, saveFailures = 0;

  void ShowRunState(int text, int, int) override { stateText = text; }
  void ShowButtons(bool r, bool s, bool n) override { run = r, stop = s, next = n; }
  void ClearTable() override { rows.clear(), rowPriorities.clear(); }
  void AddTableRow(std::string_view q, std::string_view a, int priority) override {
    rows.push_back(std::string(q) + "|" + std::string(a));
    rowPriorities.push_back(priority);
  }
  void ShowRowPriority(int row, int priority) override { rowPriorities[static_cast<std::size_t>(row)] = priority; }
  void ShowExerciseTable() override { ++tableShown, tableVisible = true; }
  bool TableVisible() const override { return tableVisible; }
  void FocusTable() override {}
  bool CheckPriority(int priority) override {
    const bool changed = checkedPriority != priority;
    checkedPriority = priority;
    return changed;
  }
  void FocusPriority(int) override {}
  bool AskRepeat() override {
    ++asked;
    if (repeatAnswers.empty()) return false;
    const bool answer = repeatAnswers.front();
    repeatAnswers.pop_front();
    return answer;
  }
  void CloseWindow() override { ++closed; }
  void LetMessagesRun() override {}
  void ReportSaveFailure(const std::string&) override { ++saveFailures; }
};

struct TFakeSession : TExerciseSession {
  bool firstLang = true;
  int splits = 0, kept = 0, saves = 0;
  bool QuestionInFirstLang() const override { return firstLang; }
  void SplitDeferred() override { ++splits; }
  void KeepProgress() override { ++kept; }
  bool SaveExerciseLangFile(TLangFHandler& file, const std::string& name) override {
    ++saves;
    return file.SaveLangFile(name);
  }
};

// Writes a letter per tick, zooms in three ticks, wipes in two.
struct TFakeCard : TCardDrawing {
  std::string lines[3];
  std::size_t written[3] = {0, 0, 0};
  int zoom = 0, wipe = 0;
  bool WipeCard(bool reset) override {
    if (reset) return (wipe = 0, true);
    return ++wipe >= 2;
  }
  void ClearTextLine(int line) override { lines[line].clear(), written[line] = 0; }
  bool DrawLetters(std::string_view phrase, int line, bool atOnce) override {
    written[line] = atOnce ? phrase.size() : std::min(written[line] + 1, phrase.size());
    lines[line] = std::string(phrase.substr(0, written[line]));
    return written[line] == phrase.size();
  }
  void StartZoom() override { zoom = 0; }
  bool ZoomTick() override { return ++zoom >= 3; }
};

struct TFakeVoice : TVoiceOutput {
  std::vector<std::string> played;
  bool PlayWave(const std::string& name) override {
    played.push_back(name);
    return name.size() > 4;
  }
};

class ExerciseRunTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  TAppIniFile ini{dir.path().toStdString(), nullptr};
  TLangFHandler langFile;
  TFakeView view;
  TFakeSession session;
  TFakeCard card;
  TFakeVoice voice;
  std::unique_ptr<TExerciseRun> run;

  // Lesson 1 with the pairs a/A, b/B, c/C, all in the list with priority 0.
  void SetUp() override {
    ini.AppDir = dir.path().toStdString();
    ini.LangFileName = dir.filePath("run.lang").toStdString();
    ini.DelayPresent = 2;
    ini.DelayAnswer = 3;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    const char* words[][2] = {{"a", "A"}, {"b", "B"}, {"c", "C"}};
    for (int32_t i = 0; i < 3; ++i) {
      auto p = lesson->NewPear(i);
      p->Word1 = words[i][0];
      p->Word2 = words[i][1];
      p->WavFile1 = p->WavFile2 = " ";
      p->InUse = p->Drawn = true;
      ini.ExerciseWords.push_back({1, i, 0, false});
    }
    langFile.SetLangNames("One", "Two");
    langFile.PutLesson(lesson);
    ASSERT_TRUE(langFile.SaveLangFile(ini.LangFileName));
  }

  void Start(bool automatic) {
    ini.AutoPresent = automatic;
    run = std::make_unique<TExerciseRun>(ini, langFile, view, session);
    run->SetGraphics(&card);
    run->SetMediaManager(&voice);
    run->FormShow();
    run->FormActivate();
  }

  // Ticks the animation until it rests.
  void Settle() {
    for (int i = 0; i < 100 && run->timerGraphic.isActive(); ++i) run->timerGraphic.Fire();
  }
};

TEST_F(ExerciseRunTest, ManualPassShowsEveryPairAndAsksToRepeatAtTheEnd) {
  Start(false);
  // The first question is on the card at once, zoomed out of the box.
  Settle();
  EXPECT_EQ(run->Phase(), TRunPhase::ShowAnswer);
  EXPECT_EQ(card.lines[1], "a");
  EXPECT_TRUE(view.next);
  for (const char* answer : {"A", "B", "C"}) {
    run->btnNextClick();  // the answer, letter by letter
    Settle();
    EXPECT_EQ(card.lines[2], answer);
    run->btnNextClick();  // the next card
    Settle();
  }
  EXPECT_EQ(view.rows, (std::vector<std::string>{"a|A", "b|B", "c|C"}));
  EXPECT_EQ(view.asked, 1);
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(run->RunState(), TRunState::Finished);
  // Progress is kept before the question; nothing was retired, so nothing saved.
  EXPECT_EQ(session.kept, 1);
  EXPECT_EQ(session.saves, 0);
}

TEST_F(ExerciseRunTest, QuestionInTheSecondLanguageSwapsTheSides) {
  session.firstLang = false;
  Start(false);
  Settle();
  run->btnNextClick();
  Settle();
  EXPECT_EQ(card.lines[1], "A");
  EXPECT_EQ(card.lines[2], "a");
}

TEST_F(ExerciseRunTest, AutomaticModeRunsOnItsDelaysAndStopHoldsEveryTimer) {
  Start(true);
  EXPECT_EQ(run->timerPresentDelay.interval(), 2000);
  EXPECT_EQ(run->timerAnswerDelay.interval(), 3000);
  EXPECT_EQ(run->Phase(), TRunPhase::WaitStart);
  EXPECT_TRUE(view.run);
  run->btnRunClick();
  Settle();
  EXPECT_EQ(card.lines[1], "a");
  ASSERT_TRUE(run->timerAnswerDelay.isActive());
  run->btnStopClick();
  EXPECT_FALSE(run->timerAnswerDelay.isActive());
  run->timerAnswerDelay.Fire();  // a stopped timer does nothing
  EXPECT_EQ(card.lines[2], "");
  // START goes on at once with the step the delay would have taken.
  run->btnRunClick();
  Settle();
  EXPECT_EQ(card.lines[2], "A");
  EXPECT_TRUE(run->timerPresentDelay.isActive());
  run->timerPresentDelay.Fire();
  Settle();
  EXPECT_EQ(card.lines[1], "b");
}

TEST_F(ExerciseRunTest, KeysSteerTheRunByMode) {
  Start(true);
  EXPECT_TRUE(run->KeyDown(TRunKey::Space));
  EXPECT_EQ(run->RunState(), TRunState::Running);
  Settle();
  EXPECT_TRUE(run->KeyDown(TRunKey::Space));
  EXPECT_EQ(run->RunState(), TRunState::Stopped);
  EXPECT_FALSE(run->KeyDown(TRunKey::Other));
  EXPECT_TRUE(run->KeyDown(TRunKey::Enter));  // stopped: Enter does not go on
  Settle();
  EXPECT_EQ(card.lines[2], "");
}

TEST_F(ExerciseRunTest, InManualModeSpaceGoesOnLikeEnter) {
  Start(false);
  Settle();
  EXPECT_TRUE(run->KeyDown(TRunKey::Space));
  Settle();
  EXPECT_EQ(card.lines[2], "A");
  EXPECT_TRUE(run->KeyDown(TRunKey::Enter));
  Settle();
  EXPECT_EQ(card.lines[1], "b");
}

TEST_F(ExerciseRunTest, RetiredPairIsSavedAtTheCloseAndATakenBackNineRestoresIt) {
  Start(false);
  Settle();
  run->rbPrioClick(9);
  EXPECT_EQ(view.rowPriorities[0], 9);
  EXPECT_FALSE(langFile.GetLesson(1)->GetPear(0)->InUse);
  run->rbPrioClick(2);
  EXPECT_TRUE(langFile.GetLesson(1)->GetPear(0)->InUse);
  run->rbPrioClick(9);
  run->FormCloseQuery();
  EXPECT_EQ(session.saves, 1);
  EXPECT_EQ(session.splits, 1);
  EXPECT_EQ(session.kept, 1);
  TLangFHandler reread;
  ASSERT_TRUE(reread.LoadLangFile(ini.LangFileName));
  EXPECT_FALSE(reread.GetLesson(1)->GetPear(0)->InUse);
  EXPECT_EQ(view.saveFailures, 0);
}

TEST_F(ExerciseRunTest, SoundsNamedInTheProgramDirectoryArePlayedFromThere) {
  ini.VoicePresent = 2;
  langFile.GetLesson(1)->GetPear(0)->WavFile1 = "\\LangFiles\\a.wav";
  Start(false);
  Settle();
  ASSERT_EQ(voice.played.size(), 1u);
  EXPECT_EQ(voice.played[0], ini.AppDir + "\\LangFiles\\a.wav");
}

}  // namespace

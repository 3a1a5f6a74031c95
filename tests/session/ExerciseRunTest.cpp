// The run cycle without a window: a fake view, a fake session, a card that
// draws nothing and timers ticked by hand.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <functional>
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

  // Typed answers: what the entry holds and what was shown under the answer.
  bool entryOpen = false;
  std::string typed;
  bool marksShown = false;
  TAnswerCheck check;
  int suggested = -1;
  void AskTypedAnswer() override { entryOpen = true, typed.clear(), marksShown = false; }
  std::string TypedAnswer() const override { return typed; }
  void ShowTypedResult(const TAnswerCheck& c, int s) override { entryOpen = false, marksShown = true, check = c, suggested = s; }
  void EndTypedAnswer() override { entryOpen = false, marksShown = false; }
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
  // What went to the history, batch by batch.
  std::vector<std::vector<TPractisedPair>> recorded;
  void RecordPractice(const std::vector<TPractisedPair>& pairs) override { recorded.push_back(pairs); }
};

// lesson-pair-priority of each recorded pair.
std::vector<std::string> Recorded(const std::vector<TPractisedPair>& pairs) {
  std::vector<std::string> out;
  for (const TPractisedPair& p : pairs)
    out.push_back(std::to_string(p.Lesson) + "-" + std::to_string(p.Pair) + "-" + std::to_string(p.Priority));
  return out;
}

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
  std::vector<std::string> spoken;  // text "@" locale
  int64_t waveMs = -1, speechMs = -1;
  // What happens while a sound plays (the window's timers tick meanwhile).
  std::function<void()> duringPlay;
  bool PlayWave(const std::string& name) override {
    played.push_back(name);
    if (duringPlay) duringPlay();
    return name.size() > 4;
  }
  bool SpeakText(const std::string& text, const std::string& locale) override {
    spoken.push_back(text + "@" + locale);
    if (duringPlay) duringPlay();
    return true;
  }
  int64_t WaveLengthMs(const std::string&) override { return waveMs; }
  int64_t SpeechLengthMs(const std::string&, const std::string&) override { return speechMs; }
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

// ---- typed answers ---------------------------------------------------------------

// Each typed answer against "A" (the first pair), with the priority it
// suggests from the entry's 3.
TEST_F(ExerciseRunTest, TypedAnswerIsMarkedAndSuggestsAPriority) {
  const struct {
    const char* typed;
    bool ignoreCase;
    bool correct;
    int suggested;
  } cases[] = {
      {"A", false, true, 4},   // right: held back one step more
      {"a", false, false, 0},  // wrong: use always
      {"a", true, true, 4},    // the leniency reaches the check
      {"", false, false, 0},   // Return on an empty entry gives up
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ini.TypedAnswer = true;
    ini.IgnoreCase = c.ignoreCase;
    ini.ExerciseWords[0].Priority = 3;
    Start(false);
    Settle();
    ASSERT_TRUE(view.entryOpen);
    view.typed = c.typed;
    run->TypedAnswerEdited();
    EXPECT_TRUE(run->KeyDown(TRunKey::Enter));
    Settle();
    EXPECT_EQ(card.lines[2], "A");  // the answer is written as always
    ASSERT_TRUE(view.marksShown);
    EXPECT_EQ(view.check.Correct, c.correct);
    EXPECT_EQ(view.suggested, c.suggested);
    // The suggestion is given; the learner may change it with a digit.
    EXPECT_EQ(view.checkedPriority, c.suggested);
    EXPECT_EQ(ini.ExerciseWords[0].Priority, c.suggested);
    run->rbPrioClick(7);
    EXPECT_EQ(ini.ExerciseWords[0].Priority, 7);
    run->FormCloseQuery();
    // The history has the verdict and the priority the learner settled on.
    ASSERT_FALSE(session.recorded.empty());
    ASSERT_EQ(session.recorded.back().size(), 1u);
    EXPECT_EQ(session.recorded.back()[0].Typed, c.correct ? TTypedVerdict::Right : TTypedVerdict::Wrong);
    EXPECT_EQ(session.recorded.back()[0].Priority, 7);
  }
}

TEST_F(ExerciseRunTest, EveryPassGoesToTheHistoryWithThePrioritiesGiven) {
  view.repeatAnswers = {true, false};
  Start(false);
  Settle();
  for (int pass = 0; pass < 2; ++pass) {
    for (int card = 0; card < 3; ++card) {
      run->btnNextClick();  // the answer
      Settle();
      if (card == 1) run->rbPrioClick(pass == 0 ? 3 : 9);
      run->btnNextClick();  // the next card, or the end of the pass
      Settle();
    }
    // Each pass is recorded when it ends, before the learner is asked.
    ASSERT_EQ(session.recorded.size(), static_cast<std::size_t>(pass + 1));
  }
  EXPECT_EQ(Recorded(session.recorded[0]), (std::vector<std::string>{"1-0-0", "1-1-3", "1-2-0"}));
  EXPECT_EQ(Recorded(session.recorded[1]), (std::vector<std::string>{"1-0-0", "1-1-9", "1-2-0"}));
  for (const TPractisedPair& p : session.recorded[0]) {
    EXPECT_EQ(p.Typed, TTypedVerdict::None);
    EXPECT_GT(p.Time, 0);
  }
  run->FormCloseQuery();
  EXPECT_EQ(session.recorded.size(), 2u) << "nothing is recorded twice";
}

TEST_F(ExerciseRunTest, ClosingMidPassRecordsTheCardsWhoseAnswerWasShown) {
  Start(false);
  Settle();
  run->btnNextClick();  // the first answer
  Settle();
  run->btnNextClick();  // the second question; its answer is never shown
  Settle();
  run->FormCloseQuery();
  ASSERT_EQ(session.recorded.size(), 1u);
  EXPECT_EQ(Recorded(session.recorded[0]), (std::vector<std::string>{"1-0-0"}));
}

TEST_F(ExerciseRunTest, RightAnswerNeverRetiresAPair) {
  ini.TypedAnswer = true;
  ini.ExerciseWords[0].Priority = 8;
  Start(false);
  Settle();
  view.typed = "A";
  run->KeyDown(TRunKey::Enter);
  EXPECT_EQ(view.suggested, 8);
  EXPECT_TRUE(langFile.GetLesson(1)->GetPear(0)->InUse);
}

// The automatic mode never shows the answer under the learner's fingers:
// typing holds the answer delay, START does not answer, Return does.
TEST_F(ExerciseRunTest, TypingPausesTheAutomaticMode) {
  ini.TypedAnswer = true;
  Start(true);
  run->btnRunClick();
  Settle();
  ASSERT_TRUE(view.entryOpen);
  ASSERT_TRUE(run->timerAnswerDelay.isActive());
  view.typed = "A";
  run->TypedAnswerEdited();
  EXPECT_FALSE(run->timerAnswerDelay.isActive());
  run->btnStopClick();
  run->btnRunClick();
  EXPECT_FALSE(run->timerAnswerDelay.isActive());
  EXPECT_TRUE(view.entryOpen);
  EXPECT_EQ(card.lines[2], "");
  run->btnNextClick();
  Settle();
  EXPECT_TRUE(view.check.Correct);
  EXPECT_EQ(card.lines[2], "A");
  EXPECT_TRUE(run->timerPresentDelay.isActive());
}

// A learner who only watches is not judged: the delay shows the answer
// and the priority stays.
TEST_F(ExerciseRunTest, DelayOnAnEmptyEntryShowsTheAnswerUnjudged) {
  ini.TypedAnswer = true;
  ini.ExerciseWords[0].Priority = 2;
  Start(true);
  run->btnRunClick();
  Settle();
  run->timerAnswerDelay.Fire();
  Settle();
  EXPECT_EQ(card.lines[2], "A");
  EXPECT_FALSE(view.marksShown);
  EXPECT_FALSE(view.entryOpen);
  EXPECT_EQ(ini.ExerciseWords[0].Priority, 2);
}

// ---- pace and keys during animations ---------------------------------------------

TEST_F(ExerciseRunTest, KeyDuringAnAnimationFinishesItAndIsActedOn) {
  Start(false);
  ASSERT_TRUE(run->Zooming());
  EXPECT_TRUE(run->KeyDown(TRunKey::Enter));
  EXPECT_FALSE(run->Zooming());
  EXPECT_EQ(card.lines[1], "a");
  Settle();
  EXPECT_EQ(card.lines[2], "A");  // the key went on to the answer
  run->KeyDown(TRunKey::Enter);   // the next card: wipe, then zoom
  ASSERT_TRUE(run->Wiping());
  run->KeyDown(TRunKey::Space);
  EXPECT_FALSE(run->Wiping());
  EXPECT_FALSE(run->Zooming());
  EXPECT_EQ(card.lines[1], "b");
  Settle();
  EXPECT_EQ(card.lines[2], "B");
}

TEST_F(ExerciseRunTest, KeyThatEndsAnAnimationDoesNotAnswerForTheLearner) {
  ini.TypedAnswer = true;
  Start(false);
  run->KeyDown(TRunKey::Enter);
  EXPECT_FALSE(run->Zooming());
  EXPECT_TRUE(view.entryOpen);
  EXPECT_FALSE(view.marksShown);
  EXPECT_EQ(card.lines[2], "");
}

TEST_F(ExerciseRunTest, PaceSetsTheAnimationsAndTheLetters) {
  const struct {
    int cardPace;
    int letterPace;
    bool letterAnswer;
    int zoomInterval;  // 0: no animation at all
    int letterInterval;
  } cases[] = {
      {TPresentSettings::kCardPaceNormal, TPresentSettings::kLetterPaceNormal, false, 80, 50},
      {TPresentSettings::kCardPaceNormal, TPresentSettings::kLetterPaceNormal, true, 80, 500},
      {TPresentSettings::kCardPaceFast, TPresentSettings::kLetterPaceFast, true, 25, 150},
      {TPresentSettings::kCardPaceNone, TPresentSettings::kLetterPaceFast, false, 0, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cardPace * 10 + c.letterPace);
    ini.CardPace = c.cardPace;
    ini.LetterPace = c.letterPace;
    ini.LetterAnswer = c.letterAnswer;
    Start(false);
    if (c.zoomInterval == 0) {
      EXPECT_FALSE(run->Zooming());
      EXPECT_EQ(card.lines[1], "a");
    } else {
      EXPECT_TRUE(run->Zooming());
      EXPECT_EQ(run->timerGraphic.interval(), c.zoomInterval);
      Settle();
    }
    run->btnNextClick();
    EXPECT_EQ(run->timerGraphic.interval(), c.letterInterval);
    Settle();
    run->btnNextClick();
    EXPECT_EQ(run->Wiping(), c.zoomInterval != 0);
    Settle();
    EXPECT_EQ(card.lines[1], "b");
    run->FormCloseQuery();
  }
}

// ---- voice ----------------------------------------------------------------------

TEST_F(ExerciseRunTest, SideWithoutSoundIsSpokenInItsLanguageAndASoundFileWins) {
  langFile.SetLangNames("German", "Russian");
  ini.Lang1 = "German";
  ini.Lang2 = "Russian";
  langFile.Lang2Locale = "ru_RU";
  ini.VoicePresent = 2;
  ini.VoiceAnswer = true;
  ini.SpeakMissing = true;
  langFile.GetLesson(1)->GetPear(1)->WavFile1 = "\\LangFiles\\b.wav";
  Start(false);
  Settle();
  run->btnNextClick();
  Settle();
  run->btnNextClick();
  Settle();
  // a: spoken, guessed German; A: spoken, stored locale; b: its file.
  EXPECT_EQ(voice.spoken, (std::vector<std::string>{"a@de", "A@ru_RU"}));
  EXPECT_EQ(voice.played, (std::vector<std::string>{ini.AppDir + "\\LangFiles\\b.wav"}));
}

TEST_F(ExerciseRunTest, WithoutSpeechASideWithoutSoundStaysSilent) {
  ini.VoicePresent = 2;
  ini.VoiceAnswer = true;
  Start(false);
  Settle();
  run->btnNextClick();
  Settle();
  EXPECT_TRUE(voice.spoken.empty());
}

// The answer is written while its voice plays, at a pace that ends with it.
TEST_F(ExerciseRunTest, AnswerIsWrittenInStepWithItsVoice) {
  const struct {
    int64_t voiceMs;
    int interval;
  } cases[] = {
      {1000, 250},   // four letters in a second
      {60000, 300},  // no letter slower than 300 ms
      {20, 16},      // none faster than a frame
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.voiceMs);
    langFile.GetLesson(1)->GetPear(0)->Word2 = "ABCD";
    langFile.GetLesson(1)->GetPear(0)->WavFile2 = "\\LangFiles\\abcd.wav";
    ini.LetterPace = TPresentSettings::kLetterPaceVoice;
    ini.VoiceAnswer = true;
    voice = TFakeVoice();
    voice.waveMs = c.voiceMs;
    std::vector<std::string> duringVoice;
    int interval = 0;
    voice.duringPlay = [&] {
      interval = run->timerGraphic.interval();
      run->timerGraphic.Fire();
      duringVoice.push_back(card.lines[2]);
    };
    Start(false);
    Settle();
    run->btnNextClick();
    EXPECT_EQ(interval, c.interval);
    // The first letter with the voice's start, one more per tick; the rest
    // at its end, and the voice is not played a second time.
    EXPECT_EQ(duringVoice, (std::vector<std::string>{"AB"}));
    EXPECT_EQ(card.lines[2], "ABCD");
    EXPECT_EQ(voice.played.size(), 1u);
    EXPECT_EQ(run->Phase(), TRunPhase::NextPair);
    run->FormCloseQuery();
  }
}

// Without a sound and without speech there is nothing to keep step with.
TEST_F(ExerciseRunTest, InStepWithoutAVoiceWritesAtTheUsualPace) {
  ini.LetterPace = TPresentSettings::kLetterPaceVoice;
  ini.LetterAnswer = true;
  Start(false);
  Settle();
  run->btnNextClick();
  EXPECT_EQ(run->timerGraphic.interval(), 500);
}

}  // namespace

#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "AnswerDiff.h"
#include "core/Word_Pear.h"
#include "RunTimer.h"
#include "storage/HistoryFile.h"

class TAppIniFile;
class TCardDrawing;
class TExerciseSession;
class TLangFHandler;
class TVoiceOutput;

enum class TRunState { Running = 1, Stopped = 2, Finished = 3 };
enum class TPresentMode { Manual = 0, Automatic = 1 };
enum class TRunPhase { WaitStart, NextPair, PresentQuestion, QuestionShown, ShowAnswer, AnswerDone, EndOfPass };
// The keys the run answers to; the window maps its keys onto these.
enum class TRunKey { Space, Enter, Other };

// What the run asks of its window. The window only shows and forwards.
class TExerciseRunView {
 public:
  virtual ~TExerciseRunView() = default;
  // stateText: interface text number, or -1 for " - ".
  virtual void ShowRunState(int stateText, int current, int count) = 0;
  virtual void ShowButtons(bool run, bool stop, bool next) = 0;
  virtual void ClearTable() = 0;
  virtual void AddTableRow(std::string_view question, std::string_view answer, int priority) = 0;
  // The priority shown in a row of the table.
  virtual void ShowRowPriority(int row, int priority) = 0;
  // Shows the table with its last row selected and the focus in it.
  virtual void ShowExerciseTable() = 0;
  virtual bool TableVisible() const = 0;
  virtual void FocusTable() = 0;
  // Checks the priority button; true when it was not checked before.
  virtual bool CheckPriority(int priority) = 0;
  virtual void FocusPriority(int priority) = 0;
  // The end-of-pass question; true for Yes.
  virtual bool AskRepeat() = 0;
  virtual void CloseWindow() = 0;
  // Lets pending window messages run (before a playback, on a zoom tick).
  virtual void LetMessagesRun() = 0;
  // A playback has ended (a close asked for meanwhile may go on now).
  virtual void PlaybackEnded() {}
  // The language file could not be saved at closing.
  virtual void ReportSaveFailure(const std::string& fileName) = 0;

  // Typed answers. Shows the empty entry with the focus in it.
  virtual void AskTypedAnswer() {}
  // What the learner has typed so far (UTF-8).
  virtual std::string TypedAnswer() const { return {}; }
  // The typed text with its marks and the priority it suggests.
  virtual void ShowTypedResult(const TAnswerCheck& check, int suggested) {
    (void)check;
    (void)suggested;
  }
  // No entry and no marks (the next card, nothing typed).
  virtual void EndTypedAnswer() {}
};

// The run cycle of the exercise window: phases, run states, the three
// timers, keys and priorities, independent of widgets. The window forwards
// its events here and shows what the view calls tell it.
class TExerciseRun {
  // Declared first: the timer references below are bound to them.
  std::unique_ptr<TRunTimer> timers_[3];

 public:
  // makeTimer: the three timers (by default ones that tick only by hand).
  TExerciseRun(TAppIniFile& iniFile, TLangFHandler& langFile, TExerciseRunView& view, TExerciseSession& session,
               const TRunTimerFactory& makeTimer = nullptr);
  ~TExerciseRun();

  // Per showing: graphics and sound live from FormShow to the close.
  void SetGraphics(TCardDrawing* graphics) { graphics_ = graphics; }
  void SetMediaManager(TVoiceOutput* media) { media_ = media; }

  void FormShow();
  // Reads the presentation mode and the delays; shows buttons and state.
  void FormActivate();
  // Saves and splits after a retirement; stops everything.
  void FormCloseQuery();

  void btnRunClick();
  void btnStopClick();
  void btnNextClick();
  // Space and Enter; true when the key was one of them.
  bool KeyDown(TRunKey key);
  void rbPrioClick(int priority);
  // The learner changed the typed answer: the automatic mode waits for Return.
  void TypedAnswerEdited();
  // row: the first selected row, -1 when none is selected.
  void exerciseListSelectItem(int row);

  TRunTimer& timerPresentDelay;
  TRunTimer& timerAnswerDelay;
  TRunTimer& timerGraphic;

  TRunPhase Phase() const { return phase_; }
  TRunState RunState() const { return runState_; }
  int ExerciseIndex() const { return exerciseIndex_; }
  const TWordPear& CurrentPear() const { return currentPear_; }
  bool LangFileChanged() const { return langFileChanged_; }
  bool Zooming() const { return zooming_; }
  bool Wiping() const { return wiping_; }
  bool Typing() const { return typing_; }
  // The entry of a typed answer is open.
  bool AwaitingTypedAnswer() const { return typedPending_; }
  bool StopEnabled() const { return stopEnabled_; }
  // The entry of each table row.
  const std::vector<int>& RowEntries() const { return rowEntries_; }

  // The name PlayWave gets: names starting with "\" lie in the program directory.
  static std::string ResolveSoundName(const std::string& name, const std::string& appDir);

 private:
  void StartPass();
  void Advance();
  void DoNextPair();
  void DoEndOfPass();
  int NextPresentable(int from) const;
  std::shared_ptr<TWordPear> GetCurrentPear() const;
  bool LoadCurrentPear();
  void AddTableRow();
  // The rows of the entry show its priority.
  void ShowEntryPriority(int entry);
  void SpeakQuestion();
  // The side's sound file, or its text spoken when it has none and speech is on.
  bool PlayVoice(std::string_view name, std::string_view text, const std::string& locale);
  bool PlayAnswerVoice();
  // How long the answer's voice lasts when the answer is written in step
  // with it; -1 when it is not.
  int64_t InStepVoiceLength();
  // Writes the answer, in step with its voice when that is chosen.
  void WriteAnswer();
  // Marks a typed answer and suggests a priority; byLearner: Return, not a delay.
  void JudgeTypedAnswer(bool byLearner);
  // Ends a wipe or zoom at once (a key was pressed); true when one ran.
  bool FinishAnimations();
  int LetterInterval() const;
  void ShowRunState();
  // Starts a delay of the automatic mode, unless the learner stopped it.
  void StartDelay(TRunTimer& timer);
  void PauseTimers();
  void ResumeTimers();
  void ShowPriority();
  void RunZoom();
  void TypePhrase(int line, bool atOnce);
  void FinishQuestionAtOnce();
  void RunWipe();
  void UpdateButtons();
  void timerGraphicTimer();
  void ApplyPriority(int priority);
  // Saves the language file when a retirement is not in it yet.
  void SaveRetirements();
  // Hands the pairs practised since the last time to the history, each
  // with the priority its entry has now.
  void RecordPractice();

  TAppIniFile& IniFile;
  TLangFHandler& ExerciseLangFile;
  TExerciseRunView& view_;
  TExerciseSession& session_;
  TCardDrawing* graphics_ = nullptr;
  TVoiceOutput* media_ = nullptr;

  int exerciseIndex_ = -1;
  TWordPear currentPear_;
  TRunState runState_ = TRunState::Stopped;
  TPresentMode presentMode_ = TPresentMode::Manual;
  TRunPhase phase_ = TRunPhase::WaitStart;
  bool savedTimers_[3] = {false, false, false};
  bool langFileChanged_ = false;
  // A retirement (or its taking back) the file on disk does not hold yet.
  bool langFileUnsaved_ = false;
  bool zooming_ = false;
  int typingLine_ = 1;
  bool typingAtOnce_ = false;
  bool typing_ = false;
  bool firstCard_ = true;
  bool wiping_ = false;
  // Typed answers: the entry is open, the learner has typed in it, Return gave it.
  bool typedPending_ = false;
  bool typedStarted_ = false;
  bool typedSubmitted_ = false;
  // The answer's voice plays while its letters are written.
  bool voiceInStep_ = false;
  bool answerVoiced_ = false;
  int stepInterval_ = 0;
  // The locales of the question's and the answer's language.
  std::string questionLocale_, answerLocale_;
  bool runEnabled_ = false, stopEnabled_ = false, nextEnabled_ = false;
  std::vector<int> rowEntries_;
  // Pairs whose answer was shown and that the history has not had yet, by entry.
  std::vector<std::pair<int, TPractisedPair>> practised_;
  TTypedVerdict verdict_ = TTypedVerdict::None;
  // In-use and drawn state of pairs retired in this showing, to give them
  // back when the learner takes the 9 back.
  std::map<std::pair<int, int>, std::pair<bool, bool>> retired_;
};

#include "ExerciseRun.h"

#include <algorithm>
#include <ctime>

#include "CardDrawing.h"
#include "ExerciseSession.h"
#include "LocaleGuess.h"
#include "VoiceOutput.h"
#include "settings/AppIniFile.h"
#include "settings/TextNumbers.h"
#include "storage/LangFHandler.h"

namespace {
constexpr int kZoomInterval = 80;
constexpr int kWipeInterval = 40;
constexpr int kLetterInterval = 50;
constexpr int kSlowLetterInterval = 500;
// The faster pace: the card flies and dissolves in about a third of the time.
constexpr int kFastZoomInterval = 25;
constexpr int kFastWipeInterval = 12;
constexpr int kFastLetterInterval = 20;
constexpr int kFastSlowLetterInterval = 150;
// In step with the voice: no letter slower than this, none faster than a frame.
constexpr int kMaxVoiceLetterInterval = 300;
constexpr int kFrameInterval = 16;
// Far more steps than any card animation takes; a bound, not a pace.
constexpr int kMaxAnimationSteps = 10000;

// The blank a pair without sound holds; no sound file name is this short.
bool NamesNoSound(std::string_view name) { return name.size() <= 4; }

std::string LocaleOf(const std::string& stored, const std::string& languageName) {
  return stored.empty() ? GuessLocale(languageName) : stored;
}

std::unique_ptr<TRunTimer> MakeTimer(const TRunTimerFactory& factory) {
  if (factory) return factory();
  return std::make_unique<THandTimer>();
}
}  // namespace

TExerciseRun::TExerciseRun(TAppIniFile& iniFile, TLangFHandler& langFile, TExerciseRunView& view,
                           TExerciseSession& session, const TRunTimerFactory& makeTimer)
    : timers_{MakeTimer(makeTimer), MakeTimer(makeTimer), MakeTimer(makeTimer)},
      timerPresentDelay(*timers_[0]),
      timerAnswerDelay(*timers_[1]),
      timerGraphic(*timers_[2]),
      IniFile(iniFile),
      ExerciseLangFile(langFile),
      view_(view),
      session_(session) {
  timerGraphic.setInterval(60);
  timerPresentDelay.OnTimeout([this] { Advance(); });
  timerAnswerDelay.OnTimeout([this] { Advance(); });
  timerGraphic.OnTimeout([this] { timerGraphicTimer(); });
}

TExerciseRun::~TExerciseRun() = default;

std::string TExerciseRun::ResolveSoundName(const std::string& name, const std::string& appDir) {
  if (!name.empty() && name[0] == '\\') return appDir + name;
  return name;
}

// ---- showing, activation, closing -------------------------------------------

void TExerciseRun::FormShow() {
  // A close in the middle of an animation leaves nothing half-done behind.
  zooming_ = wiping_ = typing_ = false;
  typedPending_ = typedStarted_ = typedSubmitted_ = voiceInStep_ = false;
  view_.EndTypedAnswer();
  timerGraphic.stop();
  retired_.clear();
  if (graphics_) {
    graphics_->WipeCard(true);
    graphics_->ClearTextLine(1);
    graphics_->ClearTextLine(2);
  }
  runState_ = TRunState::Stopped;
  firstCard_ = true;
  StartPass();
}

void TExerciseRun::FormActivate() {
  presentMode_ = IniFile.AutoPresent ? TPresentMode::Automatic : TPresentMode::Manual;
  timerPresentDelay.setInterval(IniFile.DelayPresent * 1000);
  timerAnswerDelay.setInterval(IniFile.DelayAnswer * 1000);
  UpdateButtons();
  // The state text follows the mode just read, also on the first showing.
  ShowRunState();
}

void TExerciseRun::FormCloseQuery() {
  if (langFileChanged_) {
    SaveRetirements();
    session_.SplitDeferred();
    // Saved once; a second close of the same showing has nothing to add.
    langFileChanged_ = false;
  }
  currentPear_ = TWordPear();
  PauseTimers();
  zooming_ = wiping_ = typing_ = false;
  typedPending_ = typedStarted_ = typedSubmitted_ = false;
  RecordPractice();
  session_.KeepProgress();
}

void TExerciseRun::RecordPractice() {
  if (practised_.empty()) return;
  std::vector<TPractisedPair> pairs;
  pairs.reserve(practised_.size());
  for (auto& [entry, pair] : practised_) {
    if (entry >= 0 && entry < static_cast<int>(IniFile.ExerciseWords.size()))
      pair.Priority = std::clamp(IniFile.ExerciseWords[entry].Priority, 0, 9);
    pairs.push_back(pair);
  }
  practised_.clear();
  session_.RecordPractice(pairs);
}

void TExerciseRun::SaveRetirements() {
  if (!langFileUnsaved_) return;
  // The learner hears about a retirement the file did not take.
  const bool saved = session_.SaveExerciseLangFile(ExerciseLangFile, IniFile.LangFileName);
  if (saved)
    langFileUnsaved_ = false;
  else
    view_.ReportSaveFailure(IniFile.LangFileName);
}

// ---- the pass ----------------------------------------------------------------

void TExerciseRun::StartPass() {
  currentPear_ = TWordPear();
  view_.ClearTable();
  rowEntries_.clear();
  phase_ = TRunPhase::WaitStart;
  savedTimers_[0] = savedTimers_[1] = savedTimers_[2] = false;
  langFileChanged_ = langFileUnsaved_ = false;
  exerciseIndex_ = -1;
  ShowRunState();
  if (!IniFile.AutoPresent) {
    phase_ = TRunPhase::NextPair;
    Advance();
  }
}

int TExerciseRun::NextPresentable(int from) const {
  const int count = static_cast<int>(IniFile.ExerciseWords.size());
  for (int i = std::max(from, 0); i < count; ++i) {
    const TExerciseWord& w = IniFile.ExerciseWords[i];
    const auto lesson = ExerciseLangFile.GetLesson(w.LessonNbr);
    if (lesson && lesson->GetPear(w.PearNbr)) return i;
  }
  return -1;
}

void TExerciseRun::Advance() {
  switch (phase_) {
    case TRunPhase::WaitStart:
      break;
    case TRunPhase::NextPair:
      DoNextPair();
      break;
    case TRunPhase::PresentQuestion:
      if (graphics_) {
        graphics_->ClearTextLine(1);
        graphics_->ClearTextLine(2);
      }
      view_.EndTypedAnswer();
      if (IniFile.VoicePresent != 1) TypePhrase(1, true);
      ShowRunState();
      phase_ = TRunPhase::QuestionShown;
      RunZoom();
      UpdateButtons();
      break;
    case TRunPhase::QuestionShown:
      ShowPriority();
      // STOP must be usable while the question is spoken.
      UpdateButtons();
      SpeakQuestion();
      if (IniFile.TypedAnswer && !typedPending_) {
        typedPending_ = true;
        typedStarted_ = typedSubmitted_ = false;
        view_.AskTypedAnswer();
      }
      StartDelay(timerAnswerDelay);
      UpdateButtons();
      phase_ = TRunPhase::ShowAnswer;
      break;
    case TRunPhase::ShowAnswer:
      timerAnswerDelay.stop();
      // A question still being written (no sound for "voice without text")
      // is finished first: both share the pen and the timer.
      FinishQuestionAtOnce();
      verdict_ = TTypedVerdict::None;
      JudgeTypedAnswer(typedSubmitted_);
      if (exerciseIndex_ >= 0) {
        const TExerciseWord& w = IniFile.ExerciseWords[exerciseIndex_];
        practised_.push_back({exerciseIndex_, TPractisedPair{std::time(nullptr), w.LessonNbr, w.PearNbr, 0, verdict_}});
      }
      phase_ = TRunPhase::AnswerDone;
      WriteAnswer();
      break;
    case TRunPhase::AnswerDone:
      if (IniFile.VoiceAnswer && !answerVoiced_) PlayAnswerVoice();
      answerVoiced_ = false;
      StartDelay(timerPresentDelay);
      phase_ = NextPresentable(exerciseIndex_ + 1) < 0 ? TRunPhase::EndOfPass : TRunPhase::NextPair;
      break;
    case TRunPhase::EndOfPass:
      DoEndOfPass();
      break;
  }
}

void TExerciseRun::DoNextPair() {
  timerPresentDelay.stop();
  const int next = NextPresentable(exerciseIndex_ + 1);
  if (next < 0) {
    // Only entries without a pair are left: the pass ends here.
    phase_ = TRunPhase::EndOfPass;
    Advance();
    return;
  }
  exerciseIndex_ = next;
  LoadCurrentPear();
  AddTableRow();
  phase_ = TRunPhase::PresentQuestion;
  if (firstCard_) {
    if (graphics_) graphics_->WipeCard(true);
    firstCard_ = false;
    Advance();
  } else {
    RunWipe();
  }
}

void TExerciseRun::DoEndOfPass() {
  PauseTimers();
  runState_ = TRunState::Finished;
  ShowRunState();
  // The pass's priorities and retirements are kept before the learner is
  // asked anything: a crash or a logout from here on loses nothing.
  SaveRetirements();
  RecordPractice();
  session_.KeepProgress();
  // A pass that showed nothing is not offered again (it would ask forever).
  const bool repeat = !rowEntries_.empty() && view_.AskRepeat();
  if (repeat) {
    runState_ = TRunState::Stopped;
    firstCard_ = true;
    StartPass();
    if (IniFile.AutoPresent) btnRunClick();
    return;
  }
  if (IniFile.ShowTable && !rowEntries_.empty()) {
    view_.ShowExerciseTable();
    UpdateButtons();
  } else {
    view_.CloseWindow();
  }
}

std::shared_ptr<TWordPear> TExerciseRun::GetCurrentPear() const {
  if (exerciseIndex_ < 0 || exerciseIndex_ >= static_cast<int>(IniFile.ExerciseWords.size())) return nullptr;
  const TExerciseWord& w = IniFile.ExerciseWords[exerciseIndex_];
  const auto lesson = ExerciseLangFile.GetLesson(w.LessonNbr);
  return lesson ? lesson->GetPear(w.PearNbr) : nullptr;
}

bool TExerciseRun::LoadCurrentPear() {
  const auto pear = GetCurrentPear();
  if (!pear) return false;
  const bool firstLang = session_.QuestionInFirstLang();
  if (firstLang) {
    currentPear_.Word1 = pear->Word1;
    currentPear_.Word2 = pear->Word2;
    currentPear_.WavFile1 = pear->WavFile1;
    currentPear_.WavFile2 = pear->WavFile2;
  } else {
    currentPear_.Word1 = pear->Word2;
    currentPear_.Word2 = pear->Word1;
    currentPear_.WavFile1 = pear->WavFile2;
    currentPear_.WavFile2 = pear->WavFile1;
  }
  const std::string locale1 = LocaleOf(ExerciseLangFile.Lang1Locale, IniFile.Lang1);
  const std::string locale2 = LocaleOf(ExerciseLangFile.Lang2Locale, IniFile.Lang2);
  questionLocale_ = firstLang ? locale1 : locale2;
  answerLocale_ = firstLang ? locale2 : locale1;
  return true;
}

void TExerciseRun::ShowEntryPriority(int entry) {
  for (std::size_t row = 0; row < rowEntries_.size(); ++row)
    if (rowEntries_[row] == entry) view_.ShowRowPriority(static_cast<int>(row), IniFile.ExerciseWords[entry].Priority);
}

void TExerciseRun::AddTableRow() {
  if (exerciseIndex_ < 0) return;
  view_.AddTableRow(currentPear_.Word1, currentPear_.Word2, IniFile.ExerciseWords[exerciseIndex_].Priority);
  rowEntries_.push_back(exerciseIndex_);
}

// ---- sound -------------------------------------------------------------------

void TExerciseRun::SpeakQuestion() {
  switch (IniFile.VoicePresent) {
    case 1:  // voice without text: without a sound the question is written after all
      if (!PlayVoice(currentPear_.WavFile1, currentPear_.Word1, questionLocale_)) TypePhrase(1, false);
      break;
    case 2:
      PlayVoice(currentPear_.WavFile1, currentPear_.Word1, questionLocale_);
      break;
    default:
      break;
  }
}

bool TExerciseRun::PlayVoice(std::string_view name, std::string_view text, const std::string& locale) {
  // Copied first: the messages let through may move on to the next pair.
  const std::string sound(name);
  const std::string spoken(text);
  const std::string language(locale);
  view_.LetMessagesRun();
  if (!IniFile.VoiceAnswer && IniFile.VoicePresent <= 0) return false;
  if (!media_) return false;
  // A sound file always wins; speech only stands in for a side without one.
  const bool played = NamesNoSound(sound) && IniFile.SpeakMissing
                          ? media_->SpeakText(spoken, language)
                          : media_->PlayWave(ResolveSoundName(sound, IniFile.AppDir));
  view_.PlaybackEnded();
  return played;
}

bool TExerciseRun::PlayAnswerVoice() {
  return PlayVoice(currentPear_.WavFile2, currentPear_.Word2, answerLocale_);
}

int64_t TExerciseRun::InStepVoiceLength() {
  if (IniFile.LetterPace != TPresentSettings::kLetterPaceVoice || !IniFile.VoiceAnswer || !media_) return -1;
  if (!NamesNoSound(currentPear_.WavFile2))
    return media_->WaveLengthMs(ResolveSoundName(std::string(currentPear_.WavFile2), IniFile.AppDir));
  if (IniFile.SpeakMissing) return media_->SpeechLengthMs(std::string(currentPear_.Word2), answerLocale_);
  return -1;
}

void TExerciseRun::WriteAnswer() {
  answerVoiced_ = false;
  const int64_t voiceMs = InStepVoiceLength();
  if (voiceMs <= 0) {
    TypePhrase(2, false);
    return;
  }
  const int64_t letters = std::max<int64_t>(1, static_cast<int64_t>(CountGraphemes(currentPear_.Word2)));
  stepInterval_ = static_cast<int>(std::clamp<int64_t>(voiceMs / letters, kFrameInterval, kMaxVoiceLetterInterval));
  // The timer writes while the voice plays; the phrase completing meanwhile
  // does not move on, the end of the voice does.
  voiceInStep_ = true;
  TypePhrase(2, false);
  answerVoiced_ = true;
  PlayAnswerVoice();
  voiceInStep_ = false;
  stepInterval_ = 0;
  if (phase_ != TRunPhase::AnswerDone) return;  // the window closed meanwhile
  // What the voice did not reach is written at once.
  if (typing_ && typingLine_ == 2)
    TypePhrase(2, true);
  else
    Advance();
}

void TExerciseRun::JudgeTypedAnswer(bool byLearner) {
  if (!typedPending_) return;
  typedPending_ = typedStarted_ = typedSubmitted_ = false;
  const std::string typed = view_.TypedAnswer();
  // A delay that ran out on an empty entry judges nothing: the learner
  // watched this card instead of typing.
  if (!byLearner && typed.empty()) {
    view_.EndTypedAnswer();
    return;
  }
  const TAnswerLeniency leniency{IniFile.IgnoreCase, IniFile.IgnoreAccents, IniFile.IgnorePunctuation};
  const TAnswerCheck check = CheckAnswer(currentPear_.Word2, typed, leniency);
  verdict_ = check.Correct ? TTypedVerdict::Right : TTypedVerdict::Wrong;
  int suggested = 0;
  if (check.Correct && exerciseIndex_ >= 0) {
    // Held back one step more; retiring stays the learner's own choice.
    const int now = IniFile.ExerciseWords[exerciseIndex_].Priority;
    suggested = now >= 8 ? now : std::max(now, 0) + 1;
  }
  view_.ShowTypedResult(check, suggested);
  if (exerciseIndex_ < 0) return;
  view_.CheckPriority(suggested);
  ApplyPriority(suggested);
  if (!view_.TableVisible()) view_.FocusPriority(suggested);
}

// ---- state shown ---------------------------------------------------------------

void TExerciseRun::ShowRunState() {
  int text = -1;
  if (runState_ == TRunState::Finished)
    text = txStateFinished;
  else if (presentMode_ == TPresentMode::Automatic)
    text = runState_ == TRunState::Running ? txStateRunning : txStateStopped;
  view_.ShowRunState(text, exerciseIndex_ + 1, static_cast<int>(IniFile.ExerciseWords.size()));
}

void TExerciseRun::UpdateButtons() {
  const bool automatic = presentMode_ == TPresentMode::Automatic;
  const bool free = !zooming_ && !wiping_ && !view_.TableVisible();
  runEnabled_ = automatic && free && runState_ != TRunState::Running;
  stopEnabled_ = automatic && free && runState_ == TRunState::Running;
  nextEnabled_ = free && (!automatic || runState_ != TRunState::Stopped);
  view_.ShowButtons(runEnabled_, stopEnabled_, nextEnabled_);
}

void TExerciseRun::StartDelay(TRunTimer& timer) {
  // STOP during the sound before it: START goes on from here instead.
  if (IniFile.AutoPresent && runState_ == TRunState::Running) timer.start();
}

void TExerciseRun::PauseTimers() {
  savedTimers_[0] = timerPresentDelay.isActive();
  savedTimers_[1] = timerAnswerDelay.isActive();
  savedTimers_[2] = timerGraphic.isActive();
  timerGraphic.stop();
  timerPresentDelay.stop();
  timerAnswerDelay.stop();
}

void TExerciseRun::ResumeTimers() {
  timerPresentDelay.setEnabled(savedTimers_[0]);
  timerAnswerDelay.setEnabled(savedTimers_[1]);
  timerGraphic.setEnabled(savedTimers_[2]);
}

// ---- animations ------------------------------------------------------------------

void TExerciseRun::timerGraphicTimer() {
  if (zooming_)
    RunZoom();
  else if (wiping_)
    RunWipe();
  else
    TypePhrase(typingLine_, typingAtOnce_);
}

void TExerciseRun::RunZoom() {
  if (!timerGraphic.isActive()) {
    if (graphics_) graphics_->StartZoom();
    zooming_ = true;
    if (IniFile.CardPace == TPresentSettings::kCardPaceNone) {
      FinishAnimations();
      return;
    }
    timerGraphic.start(IniFile.CardPace == TPresentSettings::kCardPaceFast ? kFastZoomInterval : kZoomInterval);
    return;
  }
  view_.LetMessagesRun();
  const bool resting = graphics_ ? graphics_->ZoomTick() : true;
  if (resting) {
    timerGraphic.stop();
    zooming_ = false;
    Advance();
  }
}

void TExerciseRun::RunWipe() {
  if (!timerGraphic.isActive()) {
    wiping_ = true;
    if (IniFile.CardPace == TPresentSettings::kCardPaceNone) {
      FinishAnimations();
      return;
    }
    UpdateButtons();
    timerGraphic.start(IniFile.CardPace == TPresentSettings::kCardPaceFast ? kFastWipeInterval : kWipeInterval);
  }
  const bool done = graphics_ ? graphics_->WipeCard(false) : true;
  if (done) {
    timerGraphic.stop();
    wiping_ = false;
    Advance();
  }
}

int TExerciseRun::LetterInterval() const {
  if (stepInterval_ > 0) return stepInterval_;
  const bool fast = IniFile.LetterPace == TPresentSettings::kLetterPaceFast;
  if (IniFile.LetterAnswer) return fast ? kFastSlowLetterInterval : kSlowLetterInterval;
  return fast ? kFastLetterInterval : kLetterInterval;
}

void TExerciseRun::TypePhrase(int line, bool atOnce) {
  typingLine_ = line;
  typingAtOnce_ = atOnce;
  if (!atOnce && !timerGraphic.isActive()) timerGraphic.start(line == 2 ? LetterInterval() : kLetterInterval);
  const std::string_view text = line == 1 ? currentPear_.Word1 : currentPear_.Word2;
  const bool complete = graphics_ ? graphics_->DrawLetters(text, line, atOnce) : true;
  typing_ = !complete;
  if (complete) {
    timerGraphic.stop();
    // A STOP during the writing must not start it over at START.
    savedTimers_[2] = false;
    if (phase_ == TRunPhase::AnswerDone && !voiceInStep_) Advance();
  }
}

bool TExerciseRun::FinishAnimations() {
  bool ran = false;
  // A wipe ends in a zoom; the zoom ends with the question shown.
  for (int round = 0; round < 2 && (wiping_ || zooming_); ++round) {
    ran = true;
    timerGraphic.stop();
    savedTimers_[2] = false;
    if (wiping_) {
      if (graphics_) graphics_->WipeCard(true);
      wiping_ = false;
    } else {
      for (int step = 0; step < kMaxAnimationSteps && graphics_ && !graphics_->ZoomTick(); ++step) {
      }
      zooming_ = false;
    }
    Advance();
  }
  return ran;
}

void TExerciseRun::FinishQuestionAtOnce() {
  if (!typing_ || typingLine_ != 1) return;
  timerGraphic.stop();
  if (graphics_) graphics_->DrawLetters(currentPear_.Word1, 1, true);
  typing_ = false;
}

// ---- buttons and keys ----------------------------------------------------------------

void TExerciseRun::btnRunClick() {
  if (phase_ == TRunPhase::WaitStart)
    phase_ = TRunPhase::NextPair;
  else
    ResumeTimers();
  runState_ = TRunState::Running;
  UpdateButtons();
  ShowRunState();
  // An open entry is answered by Return, not by START.
  if (phase_ != TRunPhase::AnswerDone && !(phase_ == TRunPhase::ShowAnswer && typedPending_)) Advance();
}

void TExerciseRun::btnStopClick() {
  PauseTimers();
  runState_ = TRunState::Stopped;
  UpdateButtons();
  ShowRunState();
}

void TExerciseRun::btnNextClick() {
  if (phase_ == TRunPhase::AnswerDone && typing_) {
    if (IniFile.LetterAnswer) {
      timerGraphic.setInterval(kLetterInterval);
    } else {
      // The rest of the answer at once, then the step after it: writing and
      // the next card never overlap.
      TypePhrase(2, true);
    }
    return;
  }
  if (phase_ == TRunPhase::ShowAnswer && typedPending_) typedSubmitted_ = true;
  Advance();
}

void TExerciseRun::TypedAnswerEdited() {
  if (!typedPending_ || typedStarted_) return;
  typedStarted_ = true;
  // Typing pauses the automatic mode: the answer waits for Return.
  timerAnswerDelay.stop();
  savedTimers_[1] = false;
}

bool TExerciseRun::KeyDown(TRunKey key) {
  if (key == TRunKey::Other) return false;
  // A key during an animation ends it at once and is then acted on.
  const bool finished = FinishAnimations();
  if (finished) UpdateButtons();
  // In manual mode Space goes on, like Enter.
  if (key == TRunKey::Space && presentMode_ == TPresentMode::Automatic) {
    if (runState_ == TRunState::Stopped && runEnabled_)
      btnRunClick();
    else if (runState_ == TRunState::Running && stopEnabled_)
      btnStopClick();
    return true;
  }
  // A key that only brought up the entry does not answer for the learner.
  if (finished && typedPending_ && !typedStarted_) return true;
  if (nextEnabled_) btnNextClick();
  return true;
}

// ---- priorities and the table ----------------------------------------------------------

void TExerciseRun::ApplyPriority(int priority) {
  TExerciseWord& entry = IniFile.ExerciseWords[exerciseIndex_];
  const int before = entry.Priority;
  entry.Priority = priority;
  ShowEntryPriority(exerciseIndex_);
  const auto pear = GetCurrentPear();
  if (!pear) return;
  const std::pair<int, int> key{entry.LessonNbr, entry.PearNbr};
  if (priority == 9) {
    if (!retired_.count(key) && before != 9) retired_[key] = {pear->InUse, pear->Drawn};
    pear->InUse = false;
    pear->Drawn = false;
    langFileChanged_ = langFileUnsaved_ = true;
  } else if (auto it = retired_.find(key); it != retired_.end()) {
    // The 9 was taken back: the pair is in use again as it was.
    pear->InUse = it->second.first;
    pear->Drawn = it->second.second;
    retired_.erase(it);
    langFileChanged_ = langFileUnsaved_ = true;
  }
}

void TExerciseRun::rbPrioClick(int priority) {
  // Before the first pair (automatic mode before START) no entry is current.
  if (exerciseIndex_ < 0 || exerciseIndex_ >= static_cast<int>(IniFile.ExerciseWords.size())) return;
  if (priority < 0 || priority > 9) return;
  ApplyPriority(priority);
  if (view_.TableVisible()) view_.FocusTable();
}

void TExerciseRun::ShowPriority() {
  if (exerciseIndex_ < 0 || exerciseIndex_ >= static_cast<int>(IniFile.ExerciseWords.size())) return;
  const int p = IniFile.ExerciseWords[exerciseIndex_].Priority;
  if (p < 0 || p >= 10) return;
  const bool changed = view_.CheckPriority(p);
  // A retired entry presented again retires its pair again, even when the
  // button was already checked by the entry before it.
  if (changed || p == 9) ApplyPriority(p);
  if (!view_.TableVisible()) view_.FocusPriority(p);
}

void TExerciseRun::exerciseListSelectItem(int row) {
  if (rowEntries_.empty()) return;
  if (row < 0 || row >= static_cast<int>(rowEntries_.size())) row = static_cast<int>(rowEntries_.size()) - 1;
  exerciseIndex_ = rowEntries_[row];
  ShowPriority();
}

#include "ExerciseComposer.h"

#include <algorithm>
#include <utility>

#include "ExerciseHelpFunc.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

namespace {
// How many entries the list can still take.
std::size_t Room(const TExerciseWords& list, int32_t maxWords) {
  const auto size = static_cast<int64_t>(list.size());
  return maxWords > size ? static_cast<std::size_t>(maxWords - size) : 0;
}
}  // namespace

TExerciseComposer::TExerciseComposer(TAppIniFile& iniFile, TLangFHandler& langFile, std::mt19937& engine)
    : iniFile_(iniFile), langFile_(langFile), engine_(engine) {}

bool TExerciseComposer::Load() {
  loaded_ = baseline_.Load(langFile_, iniFile_.LangFileName);
  if (!loaded_) return false;
  // A pair the file no longer holds (changed elsewhere, an unreadable stored
  // line) is never presented.
  DropMissingPairs(iniFile_.ExerciseWords, langFile_);
  DropMissingPairs(iniFile_.DeferredWords, langFile_);
  return true;
}

void TExerciseComposer::ComposeNew() {
  saved_ = {};
  if (!Load()) return;
  TExerciseWords chosen = CollectSelectedClearingDrawn(iniFile_.AvailableUnits, langFile_);
  if (chosen.empty()) return;
  // The first MaxWords of a shuffle of all, without shuffling all.
  KeepRandomWords(chosen, static_cast<std::size_t>(std::max(iniFile_.MaxWords, 0)), engine_);
  iniFile_.ExerciseWords.clear();
  AppendUpTo(iniFile_.ExerciseWords, iniFile_.MaxWords, chosen);
  MarkDrawn(langFile_, iniFile_.ExerciseWords, true);
  SaveLangFile();
}

void TExerciseComposer::ComposeContinue(bool resetPriorities) {
  saved_ = {};
  if (!Load()) return;
  if (static_cast<int64_t>(iniFile_.ExerciseWords.size()) < iniFile_.MaxWords) FillUpFromUndrawn();
  if (iniFile_.ExerciseWords.empty()) return;
  if (resetPriorities) {
    ResetPriorities(iniFile_.ExerciseWords);
  } else {
    CountDownPriorities(iniFile_.ExerciseWords);
    SplitDeferred();
  }
  if (static_cast<int64_t>(iniFile_.ExerciseWords.size()) < iniFile_.MaxWords) FillUpTemporary();
  ShuffleWords(iniFile_.ExerciseWords, engine_);
}

void TExerciseComposer::FillUpFromUndrawn() {
  if (langFile_.LessonSlotCount() == 0 && !Load()) return;
  TExerciseWords undrawn = CollectUndrawnWords(iniFile_.AvailableUnits, langFile_, false);
  if (undrawn.empty()) return;
  KeepRandomWords(undrawn, Room(iniFile_.ExerciseWords, iniFile_.MaxWords), engine_);
  AppendUpTo(iniFile_.ExerciseWords, iniFile_.MaxWords, undrawn);
  MarkDrawn(langFile_, iniFile_.ExerciseWords, true);
  SaveLangFile();
}

void TExerciseComposer::FillUpTemporary() {
  // In lesson and slot order; the final shuffle mixes them in. Not drawn, not written.
  const std::size_t room = Room(iniFile_.ExerciseWords, iniFile_.MaxWords);
  if (room == 0) return;
  AppendUpTo(iniFile_.ExerciseWords, iniFile_.MaxWords,
             CollectUndrawnWords(iniFile_.AvailableUnits, langFile_, true, room));
}

bool TExerciseComposer::SaveLangFile() {
  saved_ = {};
  switch (baseline_.Save(langFile_, iniFile_.LangFileName, &saved_)) {
    case TLangFileBaseline::TOutcome::Failed:
      return false;
    case TLangFileBaseline::TOutcome::Merged:
      changedElsewhere_ = true;
      DropMissingPairs(iniFile_.ExerciseWords, langFile_);
      DropMissingPairs(iniFile_.DeferredWords, langFile_);
      return true;
    case TLangFileBaseline::TOutcome::Saved:
      break;
  }
  return true;
}

bool TExerciseComposer::TakeChangedElsewhere() { return std::exchange(changedElsewhere_, false); }

void TExerciseComposer::ForgetFile() {
  langFile_.ClearLessons();
  baseline_.Forget();
}

void TExerciseComposer::SplitDeferred() { SplitByPriority(iniFile_.ExerciseWords, iniFile_.DeferredWords); }

void TExerciseComposer::MaxWordsChanged() {
  saved_ = {};
  if (iniFile_.MaxWords >= 0 && static_cast<int64_t>(iniFile_.ExerciseWords.size()) > iniFile_.MaxWords) {
    // The cut entries' pairs stay drawn.
    iniFile_.ExerciseWords.resize(static_cast<std::size_t>(iniFile_.MaxWords));
  } else if (Load()) {
    // The editor may have saved the file since it was read here: top up
    // from the file as it is now, never write the older copy over it.
    FillUpFromUndrawn();
  }
}

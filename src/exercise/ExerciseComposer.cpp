#include "ExerciseComposer.h"

#include "ExerciseHelpFunc.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

TExerciseComposer::TExerciseComposer(TAppIniFile& iniFile, TLangFHandler& langFile)
    : iniFile_(iniFile), langFile_(langFile) {}

bool TExerciseComposer::Load() {
  langFile_.ClearLessons();
  loaded_ = langFile_.LoadLangFile(iniFile_.LangFileName);
  if (!loaded_) return false;
  // A pair the file no longer holds (changed elsewhere, an unreadable stored
  // line) is never presented.
  DropMissingPairs(iniFile_.ExerciseWords, langFile_);
  DropMissingPairs(iniFile_.DeferredWords, langFile_);
  return true;
}

void TExerciseComposer::ComposeNew() {
  if (!Load()) return;
  TExerciseWords chosen = CollectSelectedWords(iniFile_.AvailableUnits, langFile_);
  if (chosen.empty()) return;
  ShuffleWords(chosen);
  iniFile_.ExerciseWords.clear();
  AppendUpTo(iniFile_.ExerciseWords, iniFile_.MaxWords, chosen);
  langFile_.ClearAllDrawn();
  MarkDrawn(langFile_, iniFile_.ExerciseWords, true);
  langFile_.SaveLangFile(iniFile_.LangFileName);
}

void TExerciseComposer::ComposeContinue(bool resetPriorities) {
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
  ShuffleWords(iniFile_.ExerciseWords);
}

void TExerciseComposer::FillUpFromUndrawn() {
  if (langFile_.LessonSlotCount() == 0 && !Load()) return;
  TExerciseWords undrawn = CollectUndrawnWords(iniFile_.AvailableUnits, langFile_, false);
  if (undrawn.empty()) return;
  ShuffleWords(undrawn);
  AppendUpTo(iniFile_.ExerciseWords, iniFile_.MaxWords, undrawn);
  MarkDrawn(langFile_, iniFile_.ExerciseWords, true);
  langFile_.SaveLangFile(iniFile_.LangFileName);
}

void TExerciseComposer::FillUpTemporary() {
  // In lesson and slot order; the final shuffle mixes them in. Not drawn, not written.
  AppendUpTo(iniFile_.ExerciseWords, iniFile_.MaxWords, CollectUndrawnWords(iniFile_.AvailableUnits, langFile_, true));
}

void TExerciseComposer::SplitDeferred() { SplitByPriority(iniFile_.ExerciseWords, iniFile_.DeferredWords); }

void TExerciseComposer::MaxWordsChanged() {
  if (iniFile_.MaxWords >= 0 && static_cast<int64_t>(iniFile_.ExerciseWords.size()) > iniFile_.MaxWords) {
    // The cut entries' pairs stay drawn.
    iniFile_.ExerciseWords.resize(static_cast<std::size_t>(iniFile_.MaxWords));
  } else {
    FillUpFromUndrawn();
  }
}

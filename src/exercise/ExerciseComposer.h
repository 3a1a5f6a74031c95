#pragma once
#include "exercise/ExerciseWord.h"

class TAppIniFile;
class TLangFHandler;

// Builds the exercise list from the chosen lessons of the current language
// file. Owned by the main window; works on its settings and its language
// file handler.
class TExerciseComposer {
 public:
  TExerciseComposer(TAppIniFile& iniFile, TLangFHandler& langFile);

  // A fresh list: random choice of at most MaxWords pairs in use, all drawn.
  void ComposeNew();
  // Tops up, counts priorities down (or resets them), splits off held-back
  // entries, fills up for this exercise only, shuffles.
  void ComposeContinue(bool resetPriorities);
  void FillUpFromUndrawn();
  void FillUpTemporary();
  void SplitDeferred();
  // The editor changed MaxWords: cut the list, or top it up.
  void MaxWordsChanged();

 private:
  TAppIniFile& iniFile_;
  TLangFHandler& langFile_;
};

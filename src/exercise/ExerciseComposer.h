#pragma once
#include "exercise/ExerciseWord.h"
#include "storage/DurableFile.h"

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

  // Whether the last composition could read the language file. When it could
  // not, nothing was changed (a missing file must not empty the list).
  bool Loaded() const { return loaded_; }
  // Whether the language file took the drawn marks of the last composition;
  // when it did not, SaveResult says why. The list in memory stands.
  bool Saved() const { return saved_.Ok(); }
  const TSaveResult& SaveResult() const { return saved_; }

 private:
  // Empties the handler and reads the file; entries that name no pair of it
  // leave both lists.
  bool Load();
  void Save();

  TAppIniFile& iniFile_;
  TLangFHandler& langFile_;
  bool loaded_ = true;
  TSaveResult saved_;
};

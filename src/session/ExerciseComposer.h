#pragma once
#include <random>

#include "settings/ExerciseList.h"
#include "storage/DurableFile.h"
#include "storage/LangFileBaseline.h"

class TAppIniFile;
class TLangFHandler;

// Builds the exercise list from the chosen lessons of the current language
// file. Owned by the main window; works on its settings and its language
// file handler.
class TExerciseComposer {
 public:
  // engine: what the draws and shuffles take their chance from.
  TExerciseComposer(TAppIniFile& iniFile, TLangFHandler& langFile, std::mt19937& engine);

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

  // Saves the language file; when someone else changed it since it was read,
  // this run's flag changes go onto the file as it is now (the handler then
  // holds that file, and entries naming pairs it lacks leave both lists).
  // False when nothing could be written.
  bool SaveLangFile();
  // Once after a save found the file changed elsewhere: true, then false.
  bool TakeChangedElsewhere();
  // The handler no longer holds the file as read (another file was chosen).
  void ForgetFile();

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

  TAppIniFile& iniFile_;
  TLangFHandler& langFile_;
  std::mt19937& engine_;
  bool loaded_ = true;
  TSaveResult saved_;
  bool changedElsewhere_ = false;
  TLangFileBaseline baseline_;
};

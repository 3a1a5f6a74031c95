#include "MainWndRules.h"

#include "storage/FileUtil.h"

TMainControlStates MainControlStates(bool exerciseReady, bool exerciseDlgExists, bool exerciseDlgVisible) {
  TMainControlStates s;
  s.exerciseRun = exerciseReady;
  s.firstLang = s.exerciseRun;
  s.newLoad = s.exerciseRun;
  // Re-enabled even while "New Compose" is checked.
  s.resetPrio = s.newLoad;
  // The editor must not change the file under an open exercise.
  s.editExercise = !exerciseDlgExists || !exerciseDlgVisible;
  return s;
}

TComposeChoice ChooseComposition(bool exerciseListEmpty, bool newLoadChecked, bool recomposed) {
  if (!exerciseListEmpty && !newLoadChecked) return TComposeChoice::Continue;
  // The editor already composed afresh: "New Compose" has no effect any more.
  if (recomposed) return TComposeChoice::Continue;
  return TComposeChoice::New;
}

std::string LessonLabel(const std::string& lessonsWord, const std::string& emptyWord,
                        const std::vector<int32_t>& units, bool showUnits) {
  if (!showUnits || units.empty()) return lessonsWord + emptyWord;
  std::string label = lessonsWord + " : ";
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (i > 0) label += ',';
    label += std::to_string(units[i]);
  }
  return label;
}

std::string LangFileBitmapName(const std::string& langFileName) {
  return GetDrivePart(langFileName) + "\\" + GetDirPart(langFileName) + "\\" + GetBasePart(langFileName) + ".Bmp";
}

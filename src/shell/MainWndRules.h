#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the main window decides, apart from its widgets.

// Enabled states of the start and editor controls.
struct TMainControlStates {
  bool exerciseRun = false;     // btnExerciseRun and mExerciseRun
  bool firstLang = false;       // rbtnFirstLang and rbtnSecondLang
  bool newLoad = false;         // cbNewLoad
  bool resetPrio = false;       // cbResetPrio
  bool editExercise = false;    // btnEditExercise and mExerciseEditLessons
};
TMainControlStates MainControlStates(bool exerciseReady, bool exerciseDlgExists, bool exerciseDlgVisible);

// How a start builds the exercise list.
enum class TComposeChoice { Continue, New };
TComposeChoice ChooseComposition(bool exerciseListEmpty, bool newLoadChecked, bool recomposed);

// The lesson label: lessonsWord + " : " + the numbers in stored order joined
// by ","; lessonsWord + emptyWord when the lessons are not shown or there
// are none.
std::string LessonLabel(const std::string& lessonsWord, const std::string& emptyWord,
                        const std::vector<int32_t>& units, bool showUnits);

// The picture beside a language file: same folder, lower-case base name, ".Bmp".
std::string LangFileBitmapName(const std::string& langFileName);

#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/BoolVector.h"
#include "EditorChange.h"

// The decisions of the exercise and lesson-set editor, apart from its widgets.

// EditState values.
enum TEditState : int { esUnchanged = 0, esSaved = 1, esModified = 2, esOpened = 3 };

// " " + the word for lesson + " " + the number.
std::string LessonCaption(const std::string& lessonWord, int32_t lessonNbr);

// The smallest number from start upwards that no listed lesson holds.
int32_t FirstFreeNumber(const TBoolVector& usedNumbers, int32_t start);

// The limits of MaxWords.
constexpr int32_t kMinMaxWords = 1;
constexpr int32_t kMaxMaxWords = 500;
// True for a decimal integer from 1 to 500.
bool MaxWordsValid(const std::string& text);

// The shortest language name.
constexpr std::size_t kMinLangName = 3;

// The file's name without folder and extension, in the letter case it was
// given (GetBasePart lower-cases it).
std::string BaseNameAsGiven(const std::string& path);

// Two texts count as the same only when they are equal ignoring letter case
// and not empty.
bool SameName(const std::string& a, const std::string& b);

struct TLessonSetButtons {
  bool SaveLangFile = false;
  bool SaveLangfileAs = false;
  bool Save = false;
  bool EditLesson = false;
  bool DeleteLesson = false;
  bool NewLesson = false;
};
TLessonSetButtons LessonSetButtons(bool hasFilePath, int lessonCount, bool isNewFile, std::size_t lang1Length,
                                   std::size_t lang2Length);

// The code before the choices are stored: 5 when MaxWords changed, then 7 when
// the file path differs (letter case counts).
int ChangeCodeBefore(int code, int32_t newMaxWords, int32_t oldMaxWords, const std::string& newPath,
                     const std::string& oldPath);
// The code after storing: 8 without lessons, 6 when the chosen set or a chosen
// lesson's content changed, else the code from before.
int ChangeCodeAfter(int code, const std::vector<int32_t>& chosen, const std::vector<int32_t>& oldChosen,
                    const TBoolVector& changedLessons);

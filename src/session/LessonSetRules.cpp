#include "LessonSetRules.h"

#include "core/ArrayUtil.h"
#include "core/Convert.h"
#include "core/StrUtil.h"

std::string LessonCaption(const std::string& lessonWord, int32_t lessonNbr) {
  return " " + lessonWord + " " + std::to_string(lessonNbr);
}

int32_t FirstFreeNumber(const TBoolVector& usedNumbers, int32_t start) {
  int32_t n = start;
  while (n > 0 && static_cast<uint32_t>(n) < usedNumbers.Count() && usedNumbers.Get(n)) ++n;
  return n;
}

bool MaxWordsValid(const std::string& text) {
  int32_t value = 0;
  return TryStrToInt(text, value) && value >= kMinMaxWords && value <= kMaxMaxWords;
}

std::string BaseNameAsGiven(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  return name.substr(0, name.find('.'));
}

bool SameName(const std::string& a, const std::string& b) { return CompareFromNoCase(a, b, 0, 0) == -1; }

TLessonSetButtons LessonSetButtons(bool hasFilePath, int lessonCount, bool isNewFile, std::size_t lang1Length,
                                   std::size_t lang2Length) {
  TLessonSetButtons b;
  const bool hasLessons = lessonCount > 0;
  b.SaveLangFile = hasFilePath && hasLessons && !isNewFile;
  b.SaveLangfileAs = hasLessons;
  b.Save = !isNewFile || (hasFilePath && hasLessons);
  b.EditLesson = hasLessons;
  b.DeleteLesson = hasLessons;
  b.NewLesson = lang1Length >= kMinLangName && lang2Length >= kMinLangName;
  return b;
}

int ChangeCodeBefore(int code, int32_t newMaxWords, int32_t oldMaxWords, const std::string& newPath,
                     const std::string& oldPath) {
  if (newMaxWords != oldMaxWords) code = ccMaxWords;
  if (newPath != oldPath) code = ccLangFile;
  return code;
}

int ChangeCodeAfter(int code, const std::vector<int32_t>& chosen, const std::vector<int32_t>& oldChosen,
                    const TBoolVector& changedLessons) {
  if (chosen.empty()) return ccNoLesson;
  if (!IntArraysEqual(chosen, oldChosen)) return ccLessons;
  for (int32_t nbr : chosen)
    if (changedLessons.Get(nbr)) return ccLessons;
  return code;
}

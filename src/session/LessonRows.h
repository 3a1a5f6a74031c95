#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/BoolVector.h"
#include "core/IntVector.h"
#include "core/Lesson.h"

class TLangFHandler;

// One row of the lesson editor's pair table, in UTF-8.
struct TLessonRow {
  std::string Word1;
  std::string Word2;
  std::string WavFile1;
  std::string WavFile2;
  int32_t Number = 0;  // the pair number the row stores into
  bool Ticked = false;
};
using TLessonRows = std::vector<TLessonRow>;

// The lowest pair number that no row holds, so two rows never share a slot.
int32_t NextRowNumber(const TLessonRows& rows);

// The row to select after deleting row r, when count rows remain.
int RowAfterDelete(int r, int count);

// Sorts by the phrase of one language with the locale collation, ignoring
// letter case; rows with equal phrases keep their order.
void SortRows(TLessonRows& rows, bool secondLang);

// Whether storing the rows with the given lesson number changes the lesson.
// A change of letter case alone is no change.
bool IsLessonChanged(const TLesson& lesson, const TLessonRows& rows, int32_t lessonNbr);

// Whether storing the rows would leave the lesson other than it is, letter
// case included: what closing without storing would throw away.
bool StoringAltersLesson(const TLesson& lesson, const TLessonRows& rows, int32_t lessonNbr);

// Writes the rows into the lesson: rows with an empty phrase are dropped, an
// empty sound file name becomes " ".
void StoreRows(TLesson& lesson, const TLessonRows& rows, int32_t lessonNbr);

// A sound file inside the program directory is stored relative to it: the
// rest of the path, beginning with "\" and with "\" between folders. Any other
// path stays as it is.
std::string RelativeWavPath(const std::string& appDir, const std::string& path);

// The numbers of the lessons other than editedNbr that hold the phrase, joined
// by "-"; empty when none does. Phrases are compared by the learner's locale
// collation, ignoring letter case in any script.
std::string SearchDoubles(const TLangFHandler& langFile, int32_t editedNbr, const std::string& phrase,
                          bool secondLang);

// The lesson numbers 1 to highest that are not used, ascending.
TIntVector FreeLessonNumbers(const TBoolVector& used, int32_t highest);
// The position of number in the list, or -1.
int32_t PositionOf(const TIntVector& list, int32_t number);

// The pair folder below "LangFiles": first three characters of each language
// name joined by "_". Folder separators in a name become "_".
std::string PairDirName(const std::string& lang1, const std::string& lang2);

// The fields whose text goes into a line of a language file.
enum class TStoredField { Word1, Word2, WavFile1, WavFile2, Lang1Name, Lang2Name };

// The first character of the text that would split the stored line in the
// wrong place (its UTF-8 bytes), or empty when there is none.
std::string_view RefusedSeparator(TStoredField field, const std::string& text);

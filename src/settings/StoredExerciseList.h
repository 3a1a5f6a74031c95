#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ExerciseList.h"

class tIniFileHandler;

// How exercise lists stand in the settings file. The current language file's
// list is section "ExerciseWords": key "i" holds entry i as
// lesson-pair-priority, key "NbrWords" the count. The lists of the other
// language files are sections "ExerciseList<i>" of the same form, named by
// section "ExerciseLists" ("0", "1", ..., "NbrLists"); a program that does not
// know them keeps them untouched.

// The kept lists of the language files that are not the current one, by full
// file name, each as it would be stored (held-back entries included): a file
// chosen again goes on with its own list.
using TFileLists = std::map<std::string, TExerciseWords>;

// One stored list line into word; false (word -1, -1, -1) when it does not read.
bool ParseListLine(const std::string& line, TExerciseWord& word);
// The stored form of an entry: lesson, "-", pair, "-", priority.
std::string ExerciseWordLine(const TExerciseWord& word);
// The list as it is stored: the exercise's entries below priority 9 that are
// no fillers, then the held-back ones.
TExerciseWords StoredList(const TExerciseWords& exercise, const TExerciseWords& deferred);

// The current file's list as read.
struct TReadExerciseWords {
  // At most maxWords entries. Reading stops at the first line that does not
  // read: that entry is (-1, -1, -1), the ones after it stay (0, 0, 0).
  TExerciseWords Words;
  // The length of a list refused as longer than maxStored (Words is then
  // empty); 0 when it was read.
  std::size_t Refused = 0;
};
TReadExerciseWords ReadExerciseWords(const tIniFileHandler& ini, int32_t maxWords, std::size_t maxStored);
// Replaces the current file's list with stored (entries as StoredList gives
// them). keepRefused: a refused list stays in the file unless stored has entries.
void WriteExerciseWords(tIniFileHandler& ini, const TExerciseWords& stored, bool keepRefused);

// Reads the kept lists of the other files, each up to maxWords entries and
// its first line that does not read; file names relative to appDir become
// full ones. The current file's list is not among them: a program that keeps
// no such lists may have written it into "ExerciseWords" since, which is then
// newer. Returns how many list sections the file holds.
std::size_t ReadFileLists(const tIniFileHandler& ini, const std::string& appDir, int32_t maxWords,
                          const std::string& currentFile, TFileLists& lists);
// Writes the kept lists other than currentFile's and the empty ones, each
// where it stands; sections (how many list sections the file holds) is
// updated, the sections no longer needed go.
void WriteFileLists(tIniFileHandler& ini, const std::string& appDir, const std::string& currentFile,
                    const TFileLists& lists, std::size_t& sections);

// The learner changes from fromFile to toFile: fromStored (fromFile's list as
// stored) is kept in lists (an empty one removes fromFile's), and toFile's
// kept list leaves lists; its entries of the available lessons are returned.
TExerciseWords SwitchFileList(TFileLists& lists, const std::string& fromFile, TExerciseWords fromStored,
                              const std::string& toFile, const std::vector<int32_t>& availableUnits);

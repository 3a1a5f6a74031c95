#pragma once
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "settings/ExerciseList.h"

class TLangFHandler;

// Operations on exercise lists. Entries name pairs by lesson and pair
// number only; the language file handler holds the pairs.

// For each lesson in the given order, every pair in use, slots ascending
// (priority 0, no filler). A lesson the file does not hold is skipped, and so
// is a lesson named a second time (its pairs would come twice).
TExerciseWords CollectSelectedWords(const std::vector<int32_t>& lessons, const TLangFHandler& file);
// CollectSelectedWords for a fresh composition: when it finds pairs in use,
// the drawn flag of every pair of the file is cleared on the way, so the
// pairs are walked only once.
TExerciseWords CollectSelectedClearingDrawn(const std::vector<int32_t>& lessons, TLangFHandler& file);
// The same as CollectSelectedWords for pairs in use and not drawn; Filler of
// every entry := filler. With a limit, only the first limit of them.
TExerciseWords CollectUndrawnWords(const std::vector<int32_t>& lessons, const TLangFHandler& file, bool filler,
                                   std::size_t limit = SIZE_MAX);

// Uniform random order.
void ShuffleWords(TExerciseWords& list, std::mt19937& engine);

// At most count entries, as the first count entries after ShuffleWords would
// be (every choice and order equally likely), but with only count random
// steps: choosing 500 of a million entries costs 500 steps, not a million.
void KeepRandomWords(TExerciseWords& list, std::size_t count, std::mt19937& engine);

// Drawn of every named pair := flag; an entry naming no pair is skipped.
void MarkDrawn(TLangFHandler& file, const TExerciseWords& list, bool flag);
// Every priority below 9 becomes 0.
void ResetPriorities(TExerciseWords& list);
// Every priority from 1 to 8 loses 1.
void CountDownPriorities(TExerciseWords& list);
// Priority 0 stays in the list, other priorities below 9 (-1 too) move to the
// end of the deferred list; 9 and above are dropped. A deferred entry for a
// pair the list names gives way to the list's entry (so a pair is never held
// twice, nor held back once it is in use again or retired); the other
// deferred entries stay.
void SplitByPriority(TExerciseWords& list, TExerciseWords& deferred);
// Appends source entries in order until the target holds limit entries; a
// fuller target gets nothing and is not shortened.
void AppendUpTo(TExerciseWords& target, int32_t limit, const TExerciseWords& source);

// Whether the file holds the pair the entry names.
bool NamesPair(const TLangFHandler& file, const TExerciseWord& entry);
// Removes the entries that name no pair of the file, keeping the others in order.
void DropMissingPairs(TExerciseWords& list, const TLangFHandler& file);

#pragma once
#include <cstdint>
#include <vector>

// One entry of an exercise list: a pair named by lesson and pair number, with
// the priority the learner gave it (0 to 9; -1 for an unreadable stored line).
struct TExerciseWord {
  int32_t LessonNbr = 0;
  int32_t PearNbr = 0;
  int32_t Priority = 0;
  // Added only to fill the list for the next exercise; not stored while it
  // is still in the exercise list at closing.
  bool Filler = false;

  bool operator==(const TExerciseWord&) const = default;
};

using TExerciseWords = std::vector<TExerciseWord>;

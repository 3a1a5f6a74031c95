#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "LessonList.h"
#include "core/Lesson.h"

// What taking a table's lessons into the editor's list did.
struct TTableMerge {
  std::vector<int32_t> NewLessons;       // numbers the list did not hold
  std::vector<int32_t> ExtendedLessons;  // numbers that got pairs after their own
  int32_t PairCount = 0;
};

// Takes a table's lessons into the exercise editor's list: a lesson number
// the list holds gets the table's pairs after its own pairs (a spreadsheet
// of more words for a lesson); any other comes in as a new lesson. The
// table's lesson objects are copied, never shared.
TTableMerge MergeTableLessons(TLessonList& list, const std::vector<std::shared_ptr<TLesson>>& lessons);

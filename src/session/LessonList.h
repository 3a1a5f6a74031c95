#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/BoolVector.h"
#include "core/Lesson.h"

// The lessons of the exercise editor's list in the order shown, each with
// whether it is chosen for the exercise, and the one selected. The list on
// screen shows this; the dialog reads its state from here.
class TLessonList {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  // The lesson at a position from the top; none outside.
  std::shared_ptr<TLesson> LessonAt(int position) const;
  bool IsChosen(int position) const;
  // The caption shown for the entry: " " + the word for lesson + " " + its number.
  std::string Caption(int position, const std::string& lessonWord) const;

  // At the bottom; Sort puts it in its place.
  void Add(std::shared_ptr<TLesson> lesson, bool chosen = false);
  void Remove(int position);
  void Clear();
  // Into the order of the captions as text ("lesson 10" before "lesson 2");
  // the selection stays with its lesson. After a lesson was renumbered too.
  void Sort(const std::string& lessonWord);

  void SetChosen(int position, bool chosen);
  // Unchooses the chosen lessons that have no pair in use; how many were.
  int UnchooseUnused();
  // The numbers of the chosen lessons, in the order shown.
  std::vector<int32_t> ChosenNumbers() const;
  // The pairs in use of all chosen lessons.
  int32_t ChosenUsedPearCount() const;

  // -1 for none.
  int Selected() const { return selected_; }
  void Select(int position);
  // Selects the lesson of that number; false (and none selected) when none has it.
  bool SelectNumber(int32_t lessonNbr);
  // The position of the lesson of that number, or -1.
  int PositionOf(int32_t lessonNbr) const;

  // 0 and the numbers of the listed lessons, but for the lesson except (when
  // given): the numbers a new or renumbered lesson may not take.
  TBoolVector UsedNumbers(const TLesson* except = nullptr) const;

 private:
  struct TEntry {
    std::shared_ptr<TLesson> Lesson;
    bool Chosen = false;
  };
  bool Inside(int position) const { return position >= 0 && position < Count(); }

  std::vector<TEntry> entries_;
  int selected_ = -1;
};

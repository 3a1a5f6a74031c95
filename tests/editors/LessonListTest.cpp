#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "session/LessonList.h"

namespace {

// A lesson with the number and that many pairs in use (and one not in use).
std::shared_ptr<TLesson> Lesson(int32_t nbr, int used = 1) {
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = nbr;
  for (int i = 0; i < used; ++i) lesson->NewPear(-1)->InUse = true;
  lesson->NewPear(-1)->InUse = false;
  return lesson;
}

TLessonList ListOf(const std::vector<int32_t>& numbers) {
  TLessonList list;
  for (int32_t n : numbers) list.Add(Lesson(n));
  return list;
}

std::vector<int32_t> Numbers(const TLessonList& list) {
  std::vector<int32_t> numbers;
  for (int p = 0; p < list.Count(); ++p) numbers.push_back(list.LessonAt(p)->LessonNbr);
  return numbers;
}

// The list reads as its captions: by text, so lesson 10 comes before lesson 2.
TEST(LessonList, SortsAsTheCaptionsReadAndTheSelectionStaysWithItsLesson) {
  struct TCase {
    std::vector<int32_t> added;
    int32_t selectedNbr;
    std::vector<int32_t> sorted;
  };
  const TCase cases[] = {
      {{}, 0, {}},
      {{3, 1, 2}, 3, {1, 2, 3}},
      {{2, 10, 1, 100}, 2, {1, 10, 100, 2}},
      {{12, 9, 11}, 0, {11, 12, 9}},
  };
  for (const TCase& c : cases) {
    TLessonList list = ListOf(c.added);
    list.SelectNumber(c.selectedNbr);
    list.Sort("Lesson");
    EXPECT_EQ(Numbers(list), c.sorted);
    EXPECT_EQ(list.Selected(), list.PositionOf(c.selectedNbr));
    if (c.selectedNbr != 0) {
      EXPECT_EQ(list.LessonAt(list.Selected())->LessonNbr, c.selectedNbr);
    }
  }
}

// A renumbered lesson moves to its new place, still selected and chosen.
TEST(LessonList, ARenumberedLessonIsSortedAnew) {
  TLessonList list = ListOf({1, 2, 3});
  list.Sort("Lesson");
  list.SetChosen(0, true);
  list.Select(0);
  list.LessonAt(0)->LessonNbr = 25;
  list.Sort("Lesson");
  EXPECT_EQ(Numbers(list), (std::vector<int32_t>{2, 25, 3}));
  EXPECT_EQ(list.Selected(), 1);
  EXPECT_TRUE(list.IsChosen(1));
  EXPECT_EQ(list.Caption(1, "Lesson"), " Lesson 25");
}

TEST(LessonList, RemovingKeepsTheSelectionOnItsLesson) {
  struct TCase {
    int selected;
    int removed;
    int selectedAfter;
  };
  const TCase cases[] = {
      {-1, 1, -1}, {1, 1, -1}, {0, 1, 0}, {2, 1, 1}, {2, 0, 1}, {1, 7, 1}, {1, -1, 1},
  };
  for (const TCase& c : cases) {
    TLessonList list = ListOf({1, 2, 3});
    list.Select(c.selected);
    list.Remove(c.removed);
    EXPECT_EQ(list.Selected(), c.selectedAfter) << c.selected << " " << c.removed;
  }
  TLessonList list = ListOf({1, 2});
  list.Select(1);
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.LessonAt(0), nullptr);
}

TEST(LessonList, ChosenLessonsWithoutAPairInUseAreUnchosen) {
  TLessonList list;
  list.Add(Lesson(1, 3), true);
  list.Add(Lesson(2, 0), true);
  list.Add(Lesson(3, 2));
  list.Add(Lesson(4, 0));
  list.Add(Lesson(5, 4), true);
  EXPECT_EQ(list.ChosenNumbers(), (std::vector<int32_t>{1, 2, 5}));
  EXPECT_EQ(list.UnchooseUnused(), 1);
  EXPECT_EQ(list.UnchooseUnused(), 0);
  EXPECT_EQ(list.ChosenNumbers(), (std::vector<int32_t>{1, 5}));
  EXPECT_EQ(list.ChosenUsedPearCount(), 7);
  list.SetChosen(2, true);
  list.SetChosen(9, true);  // outside: nothing
  EXPECT_EQ(list.ChosenUsedPearCount(), 9);
  EXPECT_FALSE(list.IsChosen(9));
}

// The numbers a new lesson may not take, and those a lesson being edited may
// not change to: its own is free for it.
TEST(LessonList, UsedNumbersLeaveOutTheLessonBeingEdited) {
  TLessonList list = ListOf({2, 3, 5});
  const TBoolVector all = list.UsedNumbers();
  for (int32_t n : {0, 2, 3, 5}) EXPECT_TRUE(all.Get(n)) << n;
  for (int32_t n : {1, 4, 6}) EXPECT_FALSE(all.Get(n)) << n;
  const TBoolVector editing = list.UsedNumbers(list.LessonAt(1).get());
  EXPECT_FALSE(editing.Get(3));
  EXPECT_TRUE(editing.Get(2));
  EXPECT_TRUE(editing.Get(0));
  EXPECT_TRUE(TLessonList().UsedNumbers().Get(0));
}

TEST(LessonList, SelectingANumberNotListedSelectsNone) {
  TLessonList list = ListOf({4, 7});
  EXPECT_TRUE(list.SelectNumber(7));
  EXPECT_EQ(list.Selected(), 1);
  EXPECT_FALSE(list.SelectNumber(5));
  EXPECT_EQ(list.Selected(), -1);
  list.Select(2);
  EXPECT_EQ(list.Selected(), -1);
}

}  // namespace

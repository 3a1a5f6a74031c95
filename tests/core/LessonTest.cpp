#include <gtest/gtest.h>

#include "core/Lesson.h"

namespace {
TLesson LessonWithSlots(std::initializer_list<int> slots) {
  TLesson lesson;
  for (int s : slots) lesson.AddPearLine(std::to_string(s) + "=w" + std::to_string(s) + "@v# @ *");
  return lesson;
}
}  // namespace

TEST(Lesson, NewPearTakesTheFirstFreeSlot) {
  TLesson gap = LessonWithSlots({0, 1, 3, 4});
  auto p = gap.NewPear(-1);
  EXPECT_EQ(p->PearNbr, 2);
  EXPECT_EQ(gap.GetPear(2), p);

  TLesson full = LessonWithSlots({0, 1, 2, 3, 4});
  EXPECT_EQ(full.NewPear(-1)->PearNbr, 5);
  EXPECT_EQ(full.SlotCount(), 6);

  TLesson empty;
  EXPECT_EQ(empty.FirstFreeSlot(), 0);
}

TEST(Lesson, CountsSlotsPairsAndPairsInUse) {
  TLesson lesson = LessonWithSlots({0, 7});
  EXPECT_EQ(lesson.PearCount(), 2);
  EXPECT_EQ(lesson.SlotCount(), 8);
  lesson.AddPearLine("3=a@b# @ ");
  EXPECT_EQ(lesson.PearCount(), 3);
  EXPECT_EQ(lesson.UsedPearCount(), 2);
  EXPECT_EQ(lesson.GetPear(5), nullptr);
  EXPECT_EQ(lesson.GetPear(-1), nullptr);
  EXPECT_EQ(lesson.GetPear(8), nullptr);
}

TEST(Lesson, LaterLineOfTheSameNumberReplaces) {
  TLesson lesson;
  lesson.AddPearLine("0=first@x# @ *");
  lesson.AddPearLine("0=second@y# @ *");
  EXPECT_EQ(lesson.PearCount(), 1);
  EXPECT_EQ(lesson.GetPear(0)->Word1, "second");
}

TEST(Lesson, ClearPearsKeepsHeldPairsAlive) {
  TLesson lesson = LessonWithSlots({0, 1});
  auto held = lesson.GetPear(1);
  lesson.ClearPears();
  EXPECT_EQ(lesson.SlotCount(), 0);
  EXPECT_EQ(held->Word1, "w1");
}

TEST(Lesson, FindWordIgnoresCaseAndNeverMatchesEmpty) {
  TLesson lesson;
  lesson.LessonNbr = 4;
  lesson.AddPearLine("0=haus@house# @ *");
  lesson.AddPearLine("1=\xE4rger@anger# @ *");  // ärger
  EXPECT_EQ(lesson.FindWord("HAUS", false), 4);
  EXPECT_EQ(lesson.FindWord("Hau", false), -1);
  EXPECT_EQ(lesson.FindWord("HOUSE", true), 4);
  EXPECT_EQ(lesson.FindWord("HOUSE", false), -1);
  EXPECT_EQ(lesson.FindWord("\xC4RGER", false), 4);  // ÄRGER
  EXPECT_EQ(lesson.FindWord("", false), -1);
  TLesson blank;
  blank.AddPearLine("0=@x# @ *");
  EXPECT_EQ(blank.FindWord("", false), -1);
}

TEST(Lesson, ClearDrawnClearsEveryPair) {
  TLesson lesson;
  lesson.AddPearLine("0=a@b# @ \xC2\xA7");
  lesson.AddPearLine("2=c@d# @ \xC2\xA7");
  lesson.ClearDrawn();
  EXPECT_FALSE(lesson.GetPear(0)->Drawn);
  EXPECT_FALSE(lesson.GetPear(2)->Drawn);
  EXPECT_TRUE(lesson.GetPear(2)->InUse);
}

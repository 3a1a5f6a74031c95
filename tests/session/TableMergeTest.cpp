#include "session/TableMerge.h"

#include <gtest/gtest.h>

namespace {
std::shared_ptr<TLesson> Lesson(int32_t nbr, std::vector<std::pair<const char*, const char*>> pairs) {
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = nbr;
  int32_t slot = 0;
  for (const auto& [w1, w2] : pairs) {
    auto p = lesson->NewPear(slot++);
    p->Word1 = w1;
    p->Word2 = w2;
    p->WavFile1 = p->WavFile2 = " ";
    p->InUse = true;
  }
  return lesson;
}

std::vector<std::string> Words(const TLesson& lesson) {
  std::vector<std::string> out;
  for (int32_t slot = 0; slot < lesson.SlotCount(); ++slot)
    if (auto p = lesson.GetPear(slot)) out.push_back(std::to_string(slot) + ":" + std::string(p->Word1));
  return out;
}
}  // namespace

// More words for lesson 1 go after its own, numbered on from its last slot
// (a gap left by a deleted pair stays); lesson 4 is new; the table's objects
// are not shared with the list.
TEST(TableMergeTest, KnownLessonsGrowAndNewOnesComeIn) {
  TLessonList list;
  auto one = Lesson(1, {{"a", "A"}, {"b", "B"}, {"c", "C"}});
  one->Pears.Put(1, nullptr);
  list.Add(one);
  const auto table = std::vector<std::shared_ptr<TLesson>>{Lesson(1, {{"d", "D"}}), Lesson(4, {{"x", "X"}, {"y", "Y"}})};
  const TTableMerge merged = MergeTableLessons(list, table);
  EXPECT_EQ(merged.PairCount, 3);
  EXPECT_EQ(merged.ExtendedLessons, std::vector<int32_t>{1});
  EXPECT_EQ(merged.NewLessons, std::vector<int32_t>{4});
  EXPECT_EQ(Words(*one), (std::vector<std::string>{"0:a", "2:c", "3:d"}));
  ASSERT_EQ(list.Count(), 2);
  const auto four = list.LessonAt(list.PositionOf(4));
  EXPECT_EQ(Words(*four), (std::vector<std::string>{"0:x", "1:y"}));
  EXPECT_NE(four, table[1]);
  table[1]->GetPear(0)->Word1 = "changed";
  EXPECT_EQ(std::string(four->GetPear(0)->Word1), "x");
}

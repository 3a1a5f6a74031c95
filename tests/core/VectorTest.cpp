#include <gtest/gtest.h>

#include "core/BoolVector.h"
#include "core/ByteVector.h"
#include "core/IntVector.h"
#include "core/StrVector.h"
#include "core/Vector.h"

TEST(SlotVector, PutBeyondTheEndFillsGapsWithZero) {
  TIntVector v;
  EXPECT_EQ(v.Count(), 0u);
  EXPECT_TRUE(v.Put(25, 7));
  EXPECT_EQ(v.Count(), 26u);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(v.Get(i), 0) << i;
  EXPECT_EQ(v.Get(25), 7);
  EXPECT_EQ(v.Get(30), 0);
  EXPECT_TRUE(v.Add(8));
  EXPECT_EQ(v.Get(26), 8);
}

TEST(SlotVector, OutOfRangeReadsGiveZeroAndNegativeWritesAreRefused) {
  TStrVector s;
  s.Add("a");
  EXPECT_EQ(s.Get(-1), "");
  EXPECT_EQ(s.Get(static_cast<int32_t>(s.Count())), "");
  EXPECT_FALSE(s.Put(-1, "x"));
  EXPECT_EQ(s.Count(), 1u);

  TBoolVector b;
  EXPECT_FALSE(b.Get(3));
  b.Put(3, true);
  EXPECT_TRUE(b.Get(3));
  EXPECT_FALSE(b.Get(2));
  b.Clear();
  EXPECT_EQ(b.Count(), 0u);
  EXPECT_FALSE(b.Get(3));
}

TEST(SlotVector, ClearKeepsObjectsAliveForOtherHolders) {
  TVector<std::string> v;
  auto held = std::make_shared<std::string>("kept");
  v.Put(4, held);
  EXPECT_EQ(v.Get(4), held);
  EXPECT_EQ(v.Get(3), nullptr);
  v.Clear();
  EXPECT_EQ(v.Count(), 0u);
  EXPECT_EQ(*held, "kept");
  EXPECT_EQ(held.use_count(), 1);
}

TEST(ByteVector, ToBytesGivesTheWrittenSlots) {
  TByteVector v;
  EXPECT_TRUE(v.ToBytes().empty());
  v.Add(1);
  v.Put(2, 3);
  EXPECT_EQ(v.ToBytes(), (TBytes{1, 0, 3}));
}

TEST(StrVector, SplitsLinesAtCrLf) {
  struct Case {
    TBytes bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{'a', 13, 10, 13, 10, 'b', 13, 10}, {"a", "", "b"}},
      {{13, 10, 'x', 13, 10, 13, 10}, {"", "x", ""}},
      {{}, {}},
      // An unterminated last line is still a line, and nothing past the end is read.
      {{'a', 13, 10, 'b', 'c'}, {"a", "bc"}},
      {{'a', 13}, {"a"}},
      // A NUL ends the text of its line.
      {{'a', 0, 'b', 13, 10}, {"a"}},
  };
  for (const Case& c : cases) {
    TStrVector v;
    EXPECT_TRUE(v.AddLinesFromBytes(c.bytes));
    std::vector<std::string> got(v.Items().begin(), v.Items().end());
    EXPECT_EQ(got, c.lines);
  }
}

TEST(StrVector, NonEmptyItemsAndBytes) {
  TStrVector v;
  v.Add("a");
  v.Add("");
  v.Add("b");
  EXPECT_EQ(v.NonEmptyItems(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(v.GetBytes(0), (TBytes{'a'}));
  EXPECT_TRUE(v.GetBytes(7).empty());
  EXPECT_TRUE(v.AddBytesLine(TBytes{'q', '"', 'r'}));
  EXPECT_EQ(v.Get(3), "q\"r");
}

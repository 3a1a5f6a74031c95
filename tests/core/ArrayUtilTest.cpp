#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/ArrayUtil.h"

TEST(Shuffle, GivesPermutationsAndLeavesTinyArraysAlone) {
  std::vector<int32_t> empty;
  Shuffle(empty);
  EXPECT_TRUE(empty.empty());
  std::vector<int32_t> one{42};
  Shuffle(one);
  EXPECT_EQ(one, std::vector<int32_t>{42});

  std::vector<int32_t> five{0, 1, 2, 3, 4};
  for (int round = 0; round < 50; ++round) {
    Shuffle(five);
    std::vector<int32_t> sorted = five;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int32_t>{0, 1, 2, 3, 4}));
  }
}

// The old cross-half swap always reversed two elements and always gave the
// same order for three; a fair shuffle reaches every order.
TEST(Shuffle, SmallListsReachEveryOrder) {
  std::set<std::vector<int32_t>> seenTwo;
  std::set<std::vector<int32_t>> seenThree;
  for (int round = 0; round < 400; ++round) {
    std::vector<int32_t> two{0, 1};
    Shuffle(two);
    seenTwo.insert(two);
    std::vector<int32_t> three{0, 1, 2};
    Shuffle(three);
    seenThree.insert(three);
  }
  EXPECT_EQ(seenTwo.size(), 2u);
  EXPECT_EQ(seenThree.size(), 6u);
}

TEST(DeleteRange, RemovesTheRange) {
  const TBytes bytes{1, 2, 3, 4};
  EXPECT_EQ(DeleteRange(bytes, 0, 1), (TBytes{2, 3, 4}));
  EXPECT_EQ(DeleteRange(bytes, 3, 1), (TBytes{1, 2, 3}));
  EXPECT_EQ(DeleteRange(bytes, 1, 2), (TBytes{1, 4}));
  EXPECT_TRUE(DeleteRange(bytes, 0, 5).empty());
  EXPECT_EQ(DeleteRange(bytes, 3, 3), (TBytes{1, 2, 3}));
  EXPECT_EQ(DeleteRange(bytes, 9, 1), bytes);
}

TEST(IntArraysEqual, ComparesSizeAndElements) {
  EXPECT_TRUE(IntArraysEqual({}, {}));
  EXPECT_TRUE(IntArraysEqual({1, 2}, {1, 2}));
  EXPECT_FALSE(IntArraysEqual({1, 2}, {2, 1}));
  EXPECT_FALSE(IntArraysEqual({1, 2}, {1, 2, 3}));
}

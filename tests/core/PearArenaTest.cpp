#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/PearArena.h"

// Pairs made by an arena behave as any shared pair: they outlive the arena,
// and a block goes only with its last pair (the sanitizer build reports a
// block freed too early or never).
TEST(PearArena, PairsOutliveTheArenaAcrossManyBlocks) {
  std::vector<std::shared_ptr<TWordPear>> pears;
  {
    TPearArena arena;
    for (int i = 0; i < 5000; ++i)
      pears.push_back(arena.Make(std::to_string(i) + "=word " + std::to_string(i) + "@Wort# @ *"));
  }
  // Drop every other pair, then check the rest are intact.
  for (std::size_t i = 0; i < pears.size(); i += 2) pears[i].reset();
  for (std::size_t i = 1; i < pears.size(); i += 2) {
    ASSERT_EQ(pears[i]->PearNbr, static_cast<int32_t>(i));
    EXPECT_EQ(pears[i]->Word1, "word " + std::to_string(i));
    EXPECT_TRUE(pears[i]->InUse);
  }
  pears.clear();

  // Blocks given back are taken again by the next arena.
  TPearArena again;
  EXPECT_EQ(again.Make("0=a@b#")->Word2, "b");
}

TEST(PearArena, BadLineRaisesAndLosesNothing) {
  std::shared_ptr<TWordPear> kept;
  {
    TPearArena arena;
    kept = arena.Make("1=a@b#");
    EXPECT_THROW(arena.Make("x=a@b#"), TConversionError);
    EXPECT_THROW(arena.Make("no separator"), TConversionError);
    EXPECT_EQ(arena.Make("2=c@d#")->PearNbr, 2);
  }
  EXPECT_EQ(kept->Word1, "a");
}

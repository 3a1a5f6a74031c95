#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

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

// Long texts lie in the arena's blocks beside their pairs: they stay intact
// when the arena and other pairs are gone, and may be copied, changed and
// freed later like any string (the sanitizer build checks the memory).
TEST(PearArena, LongTextsOutliveTheArenaAndChangeFreely) {
  const std::string longLine(5000, 'x');  // texts of lines this long go to the heap
  auto words = [](int i) { return "a rather long phrase number " + std::to_string(i); };
  auto sound = [](int i) { return "\\LangFiles\\Eng_Ger\\sound" + std::to_string(i) + ".wav"; };
  std::vector<std::shared_ptr<TWordPear>> pears;
  std::shared_ptr<TWordPear> longPear;
  {
    TPearArena arena;
    for (int i = 0; i < 3000; ++i)
      pears.push_back(arena.Make(std::to_string(i) + "=" + words(i) + "@" + words(-i) + "#" + sound(i) + "@" + sound(-i) + "*"));
    longPear = arena.Make("3000=" + longLine + "@b#");
  }
  for (std::size_t i = 0; i < pears.size(); i += 3) pears[i].reset();

  TWordPear copy = *pears[1];
  pears[1].reset();
  EXPECT_EQ(copy.Word1, words(1));
  EXPECT_EQ(copy.WavFile2, sound(-1));

  for (std::size_t i = 2; i + 2 < pears.size(); i += 3) {
    const int n = static_cast<int>(i);
    TWordPear& pear = *pears[i];
    ASSERT_EQ(pear.Word2, words(-n));
    ASSERT_EQ(pear.WavFile1, sound(n));
    pear.Word1 += " and then some more words to make it grow";
    EXPECT_EQ(pear.Word1, words(n) + " and then some more words to make it grow");
    pear.WavFile1 = " ";
    pear.Word2 = pears[i + 2]->Word2;
    EXPECT_EQ(pear.Word2, words(-(n + 2)));
  }
  EXPECT_EQ(longPear->Word1, longLine);
}

// The blocks kept for the next load go on request, the heap hands them back
// to the system, and loading goes on as before; blocks still holding pairs
// are not touched.
TEST(PearArena, KeptBlocksAreFreedOnRequestAndLoadsGoOn) {
  ReleaseKeptPearBlocks();
  ASSERT_EQ(KeptPearBlockBytes(), 0u);
  auto load = [](int count) {
    std::vector<std::shared_ptr<TWordPear>> pears;
    TPearArena arena;
    for (int i = 0; i < count; ++i)
      pears.push_back(arena.Make(std::to_string(i) + "=a phrase of some length " + std::to_string(i) + "@b#"));
    return pears;
  };
  std::vector<std::shared_ptr<TWordPear>> pears = load(20000);
  const std::shared_ptr<TWordPear> survivor = pears[5];
  pears.clear();
  const std::size_t kept = KeptPearBlockBytes();
  EXPECT_GT(kept, 0u);

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
  const std::size_t inUseBefore = mallinfo2().uordblks;
#endif
  EXPECT_EQ(ReleaseKeptPearBlocks(), kept);
  EXPECT_EQ(KeptPearBlockBytes(), 0u);
  EXPECT_EQ(ReleaseKeptPearBlocks(), 0u);
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
  EXPECT_GE(inUseBefore - mallinfo2().uordblks, kept);
#endif
  EXPECT_EQ(survivor->Word1, "a phrase of some length 5");

  pears = load(20000);
  EXPECT_EQ(pears[19999]->Word1, "a phrase of some length 19999");
  EXPECT_EQ(KeptPearBlockBytes(), 0u);
  pears.clear();
  EXPECT_GT(KeptPearBlockBytes(), 0u);
}

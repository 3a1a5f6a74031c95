#include <gtest/gtest.h>

#include "core/StrUtil.h"

TEST(CompareFrom, FollowsTheCountAndStartRules) {
  struct Case {
    std::string a, b;
    int start, count, result;
  };
  const Case cases[] = {
      {"\\", "\\LangFiles\\x.wav", 0, 1, -1},
      {"\\", "x.wav", 0, 1, 0},
      {"Haus", "Haus", 0, 0, -1},
      {"Haus", "Hausboot", 0, 0, 4},
      {"", "", 0, 0, 0},
      {"abc", "abd", 0, 0, 2},
      {"abc", "abc", 3, 0, 0},
      {"abc", "abc", -1, 0, 0},
      {"abc", "abc", 0, -1, 0},
      {"abcd", "abxy", 2, 2, 0},  // start not below count
      {"abcd", "abcx", 1, 3, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareFrom(c.a, c.b, c.start, c.count), c.result) << c.a << " / " << c.b;
  }
}

TEST(CompareFromNoCase, UpperCasesWithTheCodePageRules) {
  EXPECT_EQ(CompareFromNoCase("Haus", "HAUS", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("Haus", "Hausboot", 0, 0), 4);
  EXPECT_EQ(CompareFromNoCase("\xE9t\xE9", "\xC9T\xC9", 0, 0), -1);  // été / ÉTÉ
  EXPECT_EQ(CompareFromNoCase("\xE4", "\xC4", 0, 0), -1);              // ä / Ä
  EXPECT_EQ(CompareFromNoCase("\xFF", "\x9F", 0, 0), -1);              // ÿ / Ÿ
  EXPECT_EQ(UpperCase("stra\xDF" "e"), "STRA\xDF" "E");                // ß stays
  EXPECT_EQ(UpperCase("\x9A\x9C\x9E"), "\x8A\x8C\x8E");                // š œ ž
}

TEST(CompareTexts, UsesLocaleCollation) {
  EXPECT_EQ(CompareTexts("a", "b", false), -1);
  EXPECT_EQ(CompareTexts("b", "a", false), 1);
  EXPECT_EQ(CompareTexts("A", "a", true), 0);
  EXPECT_NE(CompareTexts("A", "a", false), 0);
  // ä sorts beside a, not after z.
  EXPECT_EQ(CompareTexts("\xE4pfel", "zebra", true), -1);
  EXPECT_EQ(CompareTexts("\xE4pfel", "apfel", true) * CompareTexts("\xE4pfel", "b", true), -1);
}

TEST(TextBytes, RoundTripEveryByteButNul) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(BytesToText(TextToBytes(all)), all);
  EXPECT_EQ(BytesToText(TBytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(BytesToText(TBytes{}), "");
  EXPECT_EQ(BytesToText(TextToBytes("say \"hi\"")), "say \"hi\"");
  EXPECT_EQ(LowerCaseAscii("ABC\xC4z"), "abc\xC4z");
}

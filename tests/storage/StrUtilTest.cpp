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

TEST(CompareFromNoCase, FoldsCaseInAnyScript) {
  EXPECT_EQ(CompareFromNoCase("Haus", "HAUS", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("Haus", "Hausboot", 0, 0), 4);
  EXPECT_EQ(CompareFromNoCase("été", "ÉTÉ", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("ä", "Ä", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("ÿ", "Ÿ", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("я", "Я", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("ΣΟΦΊΑ", "σοφία", 0, 0), -1);
  EXPECT_EQ(CompareFromNoCase("łódź", "ŁÓDŹ", 0, 0), -1);
  EXPECT_NE(CompareFromNoCase("я", "ю", 0, 0), -1);
  EXPECT_EQ(UpperCase("straße"), "STRAßE");  // ß stays
  EXPECT_EQ(UpperCase("šœž"), "ŠŒŽ");
  EXPECT_EQ(UpperCase("de"), "DE");
}

TEST(CompareTexts, UsesLocaleCollation) {
  EXPECT_EQ(CompareTexts("a", "b", false), -1);
  EXPECT_EQ(CompareTexts("b", "a", false), 1);
  EXPECT_EQ(CompareTexts("A", "a", true), 0);
  EXPECT_NE(CompareTexts("A", "a", false), 0);
  // ä sorts beside a, not after z.
  EXPECT_EQ(CompareTexts("äpfel", "zebra", true), -1);
  EXPECT_EQ(CompareTexts("äpfel", "apfel", true) * CompareTexts("äpfel", "b", true), -1);
  EXPECT_EQ(CompareTexts("Я", "я", true), 0);
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

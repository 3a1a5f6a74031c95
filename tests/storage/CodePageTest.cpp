#include <gtest/gtest.h>

#include <QChar>

#include "core/CodePage.h"

TEST(CodePage, EveryByteRoundTripsThroughUnicode) {
  for (int b = 0; b < 256; ++b) {
    const char16_t ch = Cp1252ToUnicode(static_cast<unsigned char>(b));
    EXPECT_EQ(UnicodeToCp1252(ch), b) << b;
  }
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  ASSERT_TRUE(QStringToCp1252(Cp1252ToQString(all), back));
  EXPECT_EQ(back, all);
  ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), back));
  EXPECT_EQ(back, all);
}

TEST(CodePage, RefusesCharactersWithoutAByte) {
  std::string out = "unchanged";
  QChar bad;
  int pos = -1;
  EXPECT_FALSE(QStringToCp1252(QString::fromUtf8("ab\xE2\x82\xAC\xC4\x9F"), out, &bad, &pos));  // € then ğ
  EXPECT_EQ(bad.unicode(), 0x011F);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(out, "unchanged");

  char32_t badChar = 0;
  std::size_t badPos = 0;
  EXPECT_FALSE(Utf8ToCp1252("x\xE6\x97\xA5", out, &badChar, &badPos));  // 日
  EXPECT_EQ(badChar, U'\u65E5');
  EXPECT_EQ(badPos, 1u);
  EXPECT_FALSE(Utf8ToCp1252("\xC3", out));  // cut UTF-8
  EXPECT_FALSE(Utf8ToCp1252("\xFF", out));  // not UTF-8
  // Overlong forms of NUL, "/" and e-acute.
  for (const char* overlong : {"\xC0\x80", "\xC0\xAF", "\xE0\x83\xA9", "\xF0\x80\x80\x41"}) {
    EXPECT_FALSE(Utf8ToCp1252(overlong, out)) << overlong;
  }
  ASSERT_TRUE(Utf8ToCp1252("\xE2\x82\xAC \xC3\xA4", out));
  EXPECT_EQ(out, "\x80 \xE4");
}

TEST(CodePage, UpperCaseAgreesWithUnicodeWherePossible) {
  EXPECT_EQ(UpperCase1252('a'), 'A');
  EXPECT_EQ(UpperCase1252(0xE4), 0xC4);
  EXPECT_EQ(UpperCase1252(0xFF), 0x9F);
  EXPECT_EQ(UpperCase1252(0xDF), 0xDF);
  EXPECT_EQ(UpperCase1252(0xB5), 0xB5);  // micro sign: its capital has no byte
  EXPECT_EQ(UpperCase1252('1'), '1');
}

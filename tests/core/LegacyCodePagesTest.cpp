#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/LegacyCodePages.h"

namespace {
using CP = TLegacyCodePage;

constexpr CP kAll[] = {CP::Windows1250, CP::Windows1251, CP::Windows1252,
                       CP::Windows1253, CP::Windows1254, CP::Windows1257};

struct TDecodeCase {
  CP CodePage;
  std::string Bytes;
  std::string Utf8;
};

TEST(LegacyCodePages, DecodesTheLettersOfEachScript) {
  const TDecodeCase cases[] = {
      {CP::Windows1250, "G\xB3\x9C\xBF", "Głśż"},             // Polish
      {CP::Windows1250, "\x9A\xE8\xF8\x9E\xBE", "ščřžľ"},           // Czech
      {CP::Windows1251, "\xFF \xEF\xF0\xE8\xE2\xE5\xF2", "я привет"},
      {CP::Windows1253, "\xEB\xDE\xE3\xEF\xF2", "λήγος"},
      {CP::Windows1254, "\xFE\xF0\xFD\xDD", "şğıİ"},
      {CP::Windows1257, "\xEB\xE0\xFB", "ėąū"},
      {CP::Windows1252, "\xE4\x80", "ä€"},
      // The bytes Windows-1252 leaves undefined are the program's controls.
      {CP::Windows1252, "\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {CP::Windows1250, "", ""},
      {CP::Windows1251, "plain ASCII\t\x01", "plain ASCII\t\x01"},
  };
  for (const TDecodeCase& c : cases) {
    std::string out = "old";
    std::size_t badPos = 99;
    EXPECT_TRUE(LegacyToUtf8(c.Bytes, c.CodePage, out, &badPos)) << LegacyCodePageName(c.CodePage) << " " << c.Utf8;
    EXPECT_EQ(out, c.Utf8) << LegacyCodePageName(c.CodePage);
    EXPECT_EQ(badPos, 99u);
  }
}

TEST(LegacyCodePages, TheDrawnMarkerIsTheSameCharacterInEveryCodePage) {
  for (CP codePage : kAll) {
    std::string out;
    ASSERT_TRUE(LegacyToUtf8("1=a#b*1\xA7", codePage, out)) << LegacyCodePageName(codePage);
    EXPECT_EQ(out, "1=a#b*1\xC2\xA7") << LegacyCodePageName(codePage);
  }
}

// Microsoft's tables leave these bytes without a character; a file holding
// one was not written in that code page.
TEST(LegacyCodePages, RefusesExactlyTheBytesTheCodePageLeavesUndefined) {
  const std::pair<CP, std::vector<int>> cases[] = {
      {CP::Windows1250, {0x81, 0x83, 0x88, 0x90, 0x98}},
      {CP::Windows1251, {0x98}},
      {CP::Windows1252, {}},
      {CP::Windows1253, {0x81, 0x88, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x98, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xAA,
                         0xD2, 0xFF}},
      {CP::Windows1254, {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E}},
      {CP::Windows1257, {0x81, 0x83, 0x88, 0x8A, 0x8C, 0x90, 0x98, 0x9A, 0x9C, 0x9F, 0xA1, 0xA5}},
  };
  for (const auto& [codePage, undefined] : cases) {
    ASSERT_TRUE(LegacyCodePageAvailable(codePage)) << LegacyCodePageName(codePage);
    std::vector<int> refused;
    for (int b = 0; b < 256; ++b) {
      const std::string bytes = std::string("ab") + static_cast<char>(b) + "c";
      std::string out = "old";
      std::size_t badPos = 99;
      if (LegacyToUtf8(bytes, codePage, out, &badPos)) {
        // A defined byte is one whole UTF-8 character.
        EXPECT_EQ(out.substr(0, 2), "ab");
        EXPECT_EQ(out.back(), 'c');
        if (b < 0x80)
          EXPECT_EQ(out, bytes);
        else
          EXPECT_TRUE(out.size() == 5 || out.size() == 6) << b;
        continue;
      }
      refused.push_back(b);
      EXPECT_EQ(badPos, 2u);
      EXPECT_EQ(out, "old");
    }
    EXPECT_EQ(refused, undefined) << LegacyCodePageName(codePage);
  }
}

TEST(LegacyCodePages, TellsTheFirstUndefinedByte) {
  std::string out;
  std::size_t badPos = 0;
  EXPECT_FALSE(LegacyToUtf8("\xB3\xB3x\x98\x81", CP::Windows1250, out, &badPos));
  EXPECT_EQ(badPos, 3u);
  EXPECT_FALSE(LegacyToUtf8("\x98", CP::Windows1251, out, nullptr));
}

TEST(LegacyCodePages, Windows1252MatchesTheProgramsOwnMapping) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string out;
  ASSERT_TRUE(LegacyToUtf8(all, CP::Windows1252, out));
  EXPECT_EQ(out, Cp1252ToUtf8(all));
}

TEST(LegacyCodePages, ParsesTheNamesOfEachCodePage) {
  const std::pair<const char*, std::optional<CP>> cases[] = {
      {"windows-1250", CP::Windows1250}, {"Windows-1251", CP::Windows1251}, {"CP1253", CP::Windows1253},
      {"cp1254", CP::Windows1254},       {"1257", CP::Windows1257},         {"WINDOWS-1252", CP::Windows1252},
      {"windows-1255", std::nullopt},    {"utf-8", std::nullopt},           {"", std::nullopt},
      {"cp", std::nullopt},              {"windows1250", std::nullopt},     {" 1250", std::nullopt},
      {"latin2", std::nullopt},          {"12500", std::nullopt},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(ParseLegacyCodePage(name), expected) << name;
  for (CP codePage : kAll) EXPECT_EQ(ParseLegacyCodePage(LegacyCodePageName(codePage)), codePage);
  EXPECT_EQ(LegacyCodePageNames(),
            "windows-1250, windows-1251, windows-1252, windows-1253, windows-1254, windows-1257");
}
}  // namespace

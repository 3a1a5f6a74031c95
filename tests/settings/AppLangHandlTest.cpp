#include "settings/AppLangHandl.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <set>

#include "FileText.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"

namespace {
// A database file as the packer writes it, around any text: header byte,
// text, checksum, trailer 0, then extra bytes; all scrambled.
TBytes DbBytes(const std::string& text, const std::string& afterTrailer = {}) {
  TBytes image{kContainerHeader};
  image.insert(image.end(), text.begin(), text.end());
  image.push_back(0);
  XorCheck(image, true);
  image.push_back(0);
  image.insert(image.end(), afterTrailer.begin(), afterTrailer.end());
  return ScrambleBytes(image);
}

const std::string kTwoLanguages =
    "[DE]\r\n0=Quillmere\r\n1=Hallo\r\n[##]\r\n"
    "[EN]\r\n0=Alpha\r\n5=a=b\r\n5=c\r\n6=a=b\r\n7=\r\n-3=minus\r\n8\r\n\r\n[##]\r\n"
    "[de]\r\n1=lower case\r\n[##]\r\n";

TAppLangHandler Loaded(const std::string& text) {
  TAppLangHandler handler;
  EXPECT_TRUE(handler.LoadTextBytes(DbBytes(text)));
  return handler;
}
}  // namespace

TEST(AppLangHandl, TextsOfTheChosenSection) {
  TAppLangHandler handler = Loaded(kTwoLanguages);
  ASSERT_TRUE(handler.SetLanguage("EN"));
  const std::map<int, std::string> expected = {{0, "Alpha"}, {1, "????"}, {500, "????"}, {-1, "????"}, {-3, "????"},
                                               {5, "c"},     {6, "a=b"},  {7, "????"},   {8, "????"}};
  for (const auto& [n, text] : expected) EXPECT_EQ(handler.GetText(n), text) << n;

  ASSERT_TRUE(handler.SetLanguage("DE"));
  EXPECT_EQ(handler.GetText(1), "Hallo");
  EXPECT_EQ(handler.GetText(5), "????");
  // Letter case counts: "[de]" is a section of its own.
  ASSERT_TRUE(handler.SetLanguage("de"));
  EXPECT_EQ(handler.GetText(1), "lower case");
}

TEST(AppLangHandl, NoTextBeforeAnyLanguage) {
  TAppLangHandler handler = Loaded(kTwoLanguages);
  for (int n : {0, 1, 112}) EXPECT_EQ(handler.GetText(n), "????");
  EXPECT_EQ(TAppLangHandler().GetText(0), "????");
}

TEST(AppLangHandl, FailedSwitchKeepsThePreviousTexts) {
  TAppLangHandler handler = Loaded(kTwoLanguages);
  ASSERT_TRUE(handler.SetLanguage("DE"));
  for (const char* code : {"FR", "En", "", "D", "DEU", "##"}) {
    EXPECT_FALSE(handler.SetLanguage(code)) << code;
    EXPECT_EQ(handler.GetText(1), "Hallo") << code;
  }
  EXPECT_FALSE(TAppLangHandler().SetLanguage("EN"));
}

TEST(AppLangHandl, SectionWithoutEndLineIsEmpty) {
  TAppLangHandler handler = Loaded("[EN]\r\n0=Alpha\r\n1=Beta\r\n");
  EXPECT_TRUE(handler.SetLanguage("EN"));
  EXPECT_EQ(handler.GetText(0), "????");
}

TEST(AppLangHandl, BytesAfterTheTrailerAreIgnored) {
  TAppLangHandler handler;
  ASSERT_TRUE(handler.LoadTextBytes(DbBytes("[EN]\r\n0=Alpha\r\n[##]\r\n", "\x01\xFFjunk")));
  ASSERT_TRUE(handler.SetLanguage("EN"));
  EXPECT_EQ(handler.GetText(0), "Alpha");
}

TEST(AppLangHandl, DamagedDatabasesAreRefusedAndTheLoadedOneStays) {
  const std::string good = "[EN]\r\n0=Alpha\r\n[##]\r\n";
  TBytes wrongHeader = ScrambleBytes(DbBytes(good));
  wrongHeader[0] = 0xCD;
  wrongHeader = ScrambleBytes(wrongHeader);
  TBytes noZero = ScrambleBytes(DbBytes(good));
  noZero.resize(noZero.size() - 1);
  noZero = ScrambleBytes(noZero);
  const std::pair<const char*, TBytes> cases[] = {
      {"empty", {}},
      {"wrong header byte", wrongHeader},
      {"no byte 0 anywhere", noZero},
      {"image shorter than header and checksum", ScrambleBytes(TBytes{kContainerHeader, 0})},
      {"trailer only", ScrambleBytes(TBytes{0})},
      {"number not an integer", DbBytes("[EN]\r\nx=Alpha\r\n[##]\r\n")},
      {"line without a number", DbBytes("[EN]\r\n0=Alpha\r\nAlpha\r\n[##]\r\n")},
      {"number too large for a table", DbBytes("[EN]\r\n2000000000=Alpha\r\n[##]\r\n")},
      {"damage in a later section", DbBytes(good + "[DE]\r\n1 =x\r\n[##]\r\n")},
  };
  TAppLangHandler handler = Loaded("[EN]\r\n0=Kept\r\n[##]\r\n");
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(handler.LoadTextBytes(bytes)) << what;
  ASSERT_TRUE(handler.SetLanguage("EN"));
  EXPECT_EQ(handler.GetText(0), "Kept");
}

TEST(AppLangHandl, AnyChangedByteOfTheImageFailsTheChecksum) {
  const TBytes good = DbBytes("[EN]\r\n0=Alpha\r\n1=Beta\r\n[##]\r\n");
  for (std::size_t i = 0; i + 1 < good.size(); ++i) {
    for (uint8_t flip : {uint8_t{0x01}, uint8_t{0x80}}) {
      TBytes bad = good;
      bad[i] ^= flip;
      TAppLangHandler handler;
      EXPECT_FALSE(handler.LoadTextBytes(bad)) << "byte " << i;
    }
  }
}

TEST(AppLangHandl, LoadTextDbReadsTheFileAndWarnsWhenItIsMissing) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Text.Db").toStdString();
  std::vector<std::string> warnings;
  SetFileWarnHook([&](const std::string& caption, const std::string& text, const void*) {
    warnings.push_back(caption + "|" + text);
  });
  const int owner = 0;
  TAppLangHandler handler;
  EXPECT_FALSE(handler.LoadTextDb(path, "Quillmere", &owner));
  EXPECT_EQ(warnings, (std::vector<std::string>{"Quillmere|text.db - Dosn't exists  "}));

  const TBytes bytes = DbBytes("[EN]\r\n0=Alpha\r\n[##]\r\n");
  Spit(path, std::string(bytes.begin(), bytes.end()));
  EXPECT_TRUE(handler.LoadTextDb(path, "Quillmere", &owner));
  Spit(path, "");
  EXPECT_FALSE(handler.LoadTextDb(path, "Quillmere", &owner));
  EXPECT_EQ(warnings.size(), 1u);
  SetFileWarnHook(nullptr);
}

// The database the build lays beside the program.
TEST(TextDb, EveryTextExistsInEnglishAndGerman) {
  TAppLangHandler handler;
  ASSERT_TRUE(handler.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "Quillmere", nullptr));
  for (const char* code : {"EN", "DE"}) {
    ASSERT_TRUE(handler.SetLanguage(code));
    EXPECT_EQ(handler.GetText(0), "Quillmere");
    for (int n = 0; n <= 112; ++n) EXPECT_NE(handler.GetText(n), "????") << code << " " << n;
  }
  EXPECT_EQ(handler.GetText(51), "Übung");  // packed as Windows-1252, UTF-8 in memory
}

TEST(TextDb, MenuEntriesHaveOneAcceleratorEachAndNoneTwiceInAMenu) {
  TAppLangHandler handler;
  ASSERT_TRUE(handler.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "Quillmere", nullptr));
  // The menu bar shares its keys with the check boxes of the main window.
  const std::vector<std::vector<int>> menus = {{13, 18, 21, 3, 5}, {14, 15, 16, 17}, {19, 20}, {22, 23}};
  for (const char* code : {"EN", "DE"}) {
    ASSERT_TRUE(handler.SetLanguage(code));
    for (const std::vector<int>& menu : menus) {
      std::set<char> keys;
      for (int n : menu) {
        const std::string text = handler.GetText(n);
        const std::size_t amp = text.find('&');
        ASSERT_NE(amp, std::string::npos) << code << " " << n;
        EXPECT_EQ(text.find('&', amp + 1), std::string::npos) << code << " " << n;
        ASSERT_LT(amp + 1, text.size());
        const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(text[amp + 1])));
        EXPECT_TRUE(keys.insert(key).second) << code << " " << n << " repeats the key " << key;
      }
    }
  }
}

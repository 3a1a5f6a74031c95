#include "settings/TextDbSource.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "FileText.h"
#include "settings/AppLangHandl.h"

namespace {
TTextSource Parsed(const std::string& fileName, const std::string& utf8) {
  TTextSource source;
  std::string error;
  EXPECT_TRUE(ParseTextSource(fileName, LanguageCodeOf(fileName), utf8, source, error)) << error;
  return source;
}
}  // namespace

TEST(TextDbSource, LanguageCodeComesFromTheFileName) {
  const std::pair<const char*, const char*> cases[] = {
      {"EN.txt", "EN"}, {"/x/resources/texts/de.txt", "DE"}, {"C:\\t\\Fr.txt", "FR"},
      {"ENG.txt", ""},  {"E1.txt", ""},                       {"texts/.txt", ""}};
  for (const auto& [name, code] : cases) EXPECT_EQ(LanguageCodeOf(name), code) << name;
}

TEST(TextDbSource, ReadsNumberedLinesAsWindows1252) {
  const TTextSource source =
      Parsed("DE.txt", "\xEF\xBB\xBF# comment\r\n\r\n0=Quillmere\r\n  \n51=\xC3\x9C" "bung\n7=a=b \n9=\n");
  ASSERT_EQ(source.Texts.size(), 4u);
  EXPECT_EQ(source.Texts[1].Nbr, 51);
  EXPECT_EQ(source.Texts[1].Text, "\xDC" "bung");
  EXPECT_EQ(source.Texts[1].LineNbr, 5);
  EXPECT_EQ(source.Texts[2].Text, "a=b ");
  EXPECT_EQ(source.Texts[3].Text, "");
}

TEST(TextDbSource, BadLinesAreRefusedNamingFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"0=a\n1=b\n0=c\n", "EN.txt:3: text number 0 is already given in line 1"},
      {"0=a\n1=Pfeil \xE2\x86\x92\n", "EN.txt:2: the character U+2192 has no place in Windows-1252"},
      {"0=\xFF\n", "EN.txt:1: the character U+FFFD has no place in Windows-1252"},
      {"0=a\n1 b\n", "EN.txt:2: expected number=text"},
      {"x=a\n", "EN.txt:1: expected number=text"},
      {"-1=a\n", "EN.txt:1: text number -1 is outside 0..65535"},
      {"70000=a\n", "EN.txt:1: text number 70000 is outside 0..65535"},
      {"0=tab\there\n", "EN.txt:1: the text holds a control character"},
  };
  for (const auto& [content, message] : cases) {
    TTextSource source;
    std::string error;
    EXPECT_FALSE(ParseTextSource("EN.txt", "EN", content, source, error)) << content;
    EXPECT_EQ(error, message);
  }
}

TEST(TextDbSource, LanguagesMustAgreeAndTextsMustNotHoldHeaders) {
  const TTextSource en = Parsed("EN.txt", "0=a\n1=b\n");
  struct Case {
    TTextSource other;
    const char* message;
  } cases[] = {
      {Parsed("DE.txt", "0=a\n"), "EN.txt:2: text number 1 is missing in DE.txt"},
      {Parsed("DE.txt", "0=a\n1=b\n2=c\n"), "DE.txt:3: text number 2 is missing in EN.txt"},
      {Parsed("DE.txt", "0=a\n1=b [##] c\n"), "DE.txt:2: a text must not hold [##]"},
      {Parsed("DE.txt", "0=a\n1=see [EN]\n"), "DE.txt:2: a text must not hold [EN]"},
      {Parsed("en.txt", "0=a\n1=b\n"), "en.txt: language EN is given twice"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(CheckTextSources({en, c.other}, error)) << c.message;
    EXPECT_EQ(error, c.message);
  }
  std::string error;
  EXPECT_TRUE(CheckTextSources({en, Parsed("DE.txt", "1=y\n0=x [FR]\n")}, error)) << error;
}

TEST(TextDbSource, PackedDatabaseLoadsWithEveryText) {
  const std::vector<TTextSource> sources = {Parsed("EN.txt", "0=Quillmere\n12=Help\n"),
                                            Parsed("DE.txt", "12=Hilfe\n0=Quillmere\n")};
  TAppLangHandler handler;
  ASSERT_TRUE(handler.LoadTextBytes(PackTextDb(sources)));
  ASSERT_TRUE(handler.SetLanguage("DE"));
  EXPECT_EQ(handler.GetText(12), "Hilfe");
  ASSERT_TRUE(handler.SetLanguage("EN"));
  EXPECT_EQ(handler.GetText(12), "Help");
}

TEST(TextDbSource, PackerProgramStopsWithTheFileAndLine) {
  QTemporaryDir dir;
  const std::string en = dir.filePath("EN.txt").toStdString();
  const std::string db = dir.filePath("Text.Db").toStdString();
  Spit(en, "0=Quillmere\n1=\xE2\x80\x9Cquoted\xE2\x80\x9D\n2=\xE2\x9C\x93\n");
  QProcess packer;
  packer.start(QM_TEXTDB_PACK, {QString::fromStdString(db), QString::fromStdString(en)});
  ASSERT_TRUE(packer.waitForFinished(30000));
  EXPECT_NE(packer.exitCode(), 0);
  EXPECT_TRUE(packer.readAllStandardError().contains("EN.txt:3: the character U+2713"));
  EXPECT_FALSE(std::filesystem::exists(db));

  Spit(en, "0=Quillmere\n1=\xE2\x80\x9Cquoted\xE2\x80\x9D\n");
  packer.start(QM_TEXTDB_PACK, {QString::fromStdString(db), QString::fromStdString(en)});
  ASSERT_TRUE(packer.waitForFinished(30000));
  EXPECT_EQ(packer.exitCode(), 0);
  TAppLangHandler handler;
  ASSERT_TRUE(handler.LoadTextDb(db, "Quillmere", nullptr));
  ASSERT_TRUE(handler.SetLanguage("EN"));
  EXPECT_EQ(handler.GetText(1), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
}

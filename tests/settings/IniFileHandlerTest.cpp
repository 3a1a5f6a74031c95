#include "settings/IniFileHandler.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FileText.h"
#include "storage/FileUtil.h"
#include "SaveCallFault.h"

namespace {
class IniFileHandlerTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string path = dir.filePath("Quillmere.Ini").toStdString();

  tIniFileHandler Open(const std::string& content) {
    Spit(path, content);
    return tIniFileHandler(path);
  }
};
}  // namespace

TEST_F(IniFileHandlerTest, ReadsValuesByTheRulesOfInitializationFiles) {
  const tIniFileHandler ini = Open(
      "top=before any section\r\n"
      "[exercise]\r\n"
      "  LangFileName =  /home/a/x.lang  \r\n"
      "Lang1=\"English\"\r\n"
      "Lang2=\"\"Deutsch\"\"\r\n"
      "Formula=a=b\r\n"
      "Half=\"open\r\n"
      "Empty=\r\n"
      "; Commented=no\r\n"
      "Twice=first\r\n"
      "Twice=second\r\n"
      "[ Other ]\r\n"
      "Lang1=other section\r\n"
      "[EXERCISE]\r\n"
      "Late=second section of the same name\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Exercise", "langfilename", "/home/a/x.lang"},
      {"EXERCISE", "Lang1", "English"},
      {"exercise", "Lang2", "\"Deutsch\""},
      {"exercise", "Formula", "a=b"},
      {"exercise", "Half", "\"open"},
      {"exercise", "Empty", ""},
      {"exercise", "; Commented", "<default>"},
      {"exercise", "Twice", "first"},
      {"other", "LANG1", "other section"},
      {"exercise", "Late", "<default>"},
      {"exercise", "Missing", "<default>"},
      {"Nowhere", "Lang1", "<default>"},
      {"", "top", "<default>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected) << c.section << " / " << c.key;
}

TEST_F(IniFileHandlerTest, IntegersAndBooleanWordsFallBackToTheDefault) {
  const tIniFileHandler ini = Open(
      "[s]\nI1=42\nI2= -7 \nI3=12x\nI4=\nI5=99999999999\nI6=0x10\n"
      "B1=true\nB2=FALSE\nB3=tRuE\nB4=yes\nB5=1\nB6=\n");
  const std::pair<const char*, int32_t> ints[] = {{"I1", 42}, {"I2", -7}, {"I3", 5}, {"I4", 5},
                                                  {"I5", 5},  {"I6", 5},  {"I7", 5}};
  for (const auto& [key, expected] : ints) EXPECT_EQ(ini.ReadInteger("S", key, 5), expected) << key;
  const std::tuple<const char*, bool, bool> bools[] = {
      {"B1", false, true}, {"B2", true, false}, {"B3", false, true}, {"B4", false, false},
      {"B4", true, true},  {"B5", false, false}, {"B6", true, true}, {"B7", false, false}};
  for (const auto& [key, def, expected] : bools) EXPECT_EQ(ini.ReadBoolStr("s", key, def), expected) << key;
}

TEST_F(IniFileHandlerTest, ListsReadTheirCountOfElementsWithDefaultsForGaps) {
  const tIniFileHandler ini = Open(
      "[Words]\r\n0=1-2-3\r\n1=4-5-6\r\nNbrWords=3\r\n"
      "[Units]\r\n0=7\r\n1=x\r\nNbrUnits=4\r\n"
      "[Bad]\r\n0=a\r\nNbr=-3\r\n");
  EXPECT_EQ(ini.ReadStrList("words", "nbrwords"), (std::vector<std::string>{"1-2-3", "4-5-6", ""}));
  EXPECT_EQ(ini.ReadIntList("Units", "NbrUnits"), (std::vector<int32_t>{7, -1, -1}));
  EXPECT_TRUE(ini.ReadStrList("Bad", "Nbr").empty());
  EXPECT_TRUE(ini.ReadStrList("None", "Nbr").empty());
  EXPECT_EQ(ini.CountListEntries("Words"), 2);
  EXPECT_EQ(ini.CountListEntries("Units"), 2);
  EXPECT_EQ(ini.CountListEntries("None"), 0);
}

TEST_F(IniFileHandlerTest, HugeCountKeyDoesNotAllocateAnElementPerCount) {
  const tIniFileHandler ini = Open("[Words]\r\n0=1-2-3\r\nNbrWords=2000000000\r\n[Units]\r\nNbrUnits=2147483647\r\n");
  // Bounded by the key lines of the section: the stored line and one empty.
  EXPECT_EQ(ini.ReadStrList("Words", "NbrWords"), (std::vector<std::string>{"1-2-3", ""}));
  EXPECT_EQ(ini.ReadIntList("Units", "NbrUnits"), (std::vector<int32_t>{-1}));
}

TEST_F(IniFileHandlerTest, WritingKeepsEveryOtherLineInPlace) {
  const std::string before =
      "; Quillmere settings\r\n"
      "\r\n"
      "[exercise]\r\n"
      "LangFileName=old.lang\r\n"
      "; chosen by the user\r\n"
      "Own=kept\r\n"
      "\r\n"
      "; about the next section\r\n"
      "[Extra]\r\n"
      "Colour=blue ; not a comment\r\n";
  tIniFileHandler ini = Open(before);
  ini.WriteString("Exercise", "langfilename", "new.lang");
  ini.WriteString("EXERCISE", "Lang1", "English");
  ini.WriteString("Fresh", "Key", "v");
  EXPECT_TRUE(ini.Modified());
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(Slurp(path),
            "; Quillmere settings\r\n"
            "\r\n"
            "[exercise]\r\n"
            "langfilename=new.lang\r\n"
            "; chosen by the user\r\n"
            "Own=kept\r\n"
            "Lang1=English\r\n"
            "\r\n"
            "; about the next section\r\n"
            "[Extra]\r\n"
            "Colour=blue ; not a comment\r\n"
            "\r\n"
            "[Fresh]\r\n"
            "Key=v\r\n");
}

TEST_F(IniFileHandlerTest, FileWithLineFeedsOnlyKeepsThem) {
  tIniFileHandler ini = Open("[a]\nx=1\n");
  ini.WriteInteger("A", "y", 2);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(Slurp(path), "[a]\nx=1\ny=2\n");
}

TEST_F(IniFileHandlerTest, EraseRemovesEverySectionOfThatNameWhole) {
  tIniFileHandler ini = Open(
      "[ExerciseWords]\r\n0=1-1-0\r\n; inside\r\n1=1-2-0\r\nNbrWords=2\r\n\r\n; before Other\r\n"
      "[Other]\r\nk=v\r\n"
      "[exercisewords]\r\n0=9-9-9\r\n");
  ini.EraseSection("exerciseWords");
  EXPECT_FALSE(ini.SectionExists("ExerciseWords"));
  ini.WriteString("ExerciseWords", "0", "2-2-2");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(Slurp(path), "; before Other\r\n[Other]\r\nk=v\r\n\r\n[ExerciseWords]\r\n0=2-2-2\r\n");
  EXPECT_EQ(tIniFileHandler(path).ReadString("exercisewords", "0", ""), "2-2-2");
}

TEST_F(IniFileHandlerTest, WrittenTextsReadBackAsTheyWere) {
  tIniFileHandler ini = Open("");
  const std::string values[] = {"plain", " leading", "trailing ", "\"quoted\"", "\"half", "a=b", "", "äöüß", "Русский", "茶 🍵"};
  for (std::size_t i = 0; i < std::size(values); ++i) ini.WriteString("T", std::to_string(i), values[i]);
  ini.WriteString("T", "broken", "line\r\nbreak");
  ASSERT_TRUE(ini.UpdateFile());
  const tIniFileHandler again(path);
  for (std::size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(again.ReadString("T", std::to_string(i), "?"), values[i]);
  EXPECT_EQ(again.ReadString("T", "broken", "?"), "line  break");
  EXPECT_FALSE(again.SectionExists("break"));
}

TEST_F(IniFileHandlerTest, FailedWriteLeavesTheFileIntactAndTheChangesPending) {
  const std::string before = "[a]\r\nx=1\r\n";
  tIniFileHandler ini = Open(before);
  ini.WriteInteger("a", "x", 2);
  for (const TSaveCallFault& fault : {TSaveCallFault{TSaveCall::Write, ENOSPC}, TSaveCallFault{TSaveCall::Rename, EIO}}) {
    const TSaveCallFailure failing(fault);
    TSaveResult result;
    EXPECT_FALSE(ini.UpdateFile(&result));
    EXPECT_EQ(result.Error, fault.Error);
    EXPECT_EQ(Slurp(path), before);
    EXPECT_TRUE(ini.Modified());
  }
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(Slurp(path), "[a]\r\nx=2\r\n");
}

TEST_F(IniFileHandlerTest, RewritingTheSameValuesTouchesNothing) {
  tIniFileHandler ini = Open("[a]\r\nx=1\r\nb=True\r\n");
  ini.WriteInteger("A", "x", 1);
  ini.WriteBoolStr("a", "b", true);
  ini.EraseSection("none");
  EXPECT_FALSE(ini.Modified());
  const TSaveCallFailure failing({TSaveCall::Open, EIO});
  EXPECT_TRUE(ini.UpdateFile());
}

// Settings files written before were Windows-1252: one that is not valid
// UTF-8 is read so, and written back in UTF-8.
TEST_F(IniFileHandlerTest, ReadsAnOlderWindows1252FileAndWritesUtf8) {
  tIniFileHandler ini = Open("[Lang]\r\nName=Fran\xE7" "ais\r\nPath=/home/j\xFCrgen/x.lang\r\n");
  EXPECT_EQ(ini.ReadString("Lang", "Name", ""), "Français");
  EXPECT_EQ(ini.ReadString("Lang", "Path", ""), "/home/jürgen/x.lang");
  ini.WriteString("Lang", "Other", "Ελληνικά");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(Slurp(path), "[Lang]\r\nName=Français\r\nPath=/home/jürgen/x.lang\r\nOther=Ελληνικά\r\n");
}

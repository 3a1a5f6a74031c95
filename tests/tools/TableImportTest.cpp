#include <gtest/gtest.h>

#include <algorithm>

#include "storage/PairFields.h"
#include "storage/TableImport.h"
#include "core/CodePage.h"
#include "storage/CodeDecode.h"

namespace {

const std::string kCsvHeader = "lesson,word1,word2,wav1,wav2\n";

std::shared_ptr<TWordPear> Pear(const TTableImport& result, std::size_t lessonIndex, int32_t pearNbr) {
  return result.Lessons.at(lessonIndex)->GetPear(pearNbr);
}

TEST(TableImportTest, GroupsRowsByLessonAndNumbersPairsInRowOrder) {
  const std::string table =
      "lesson\tpair\tuse\tdrawn\tword1\tword2\twav1\twav2\n"
      "2\t7\t1\t0\trot\tred\t\t\n"
      "1\t0\t1\t1\tHaus\thouse\t\\LangFiles\\haus.wav\t\n"
      "2\t3\t0\t0\tblau\tblue\t\t\n";
  const TTableImport result = ImportTable(table, TTableFormat::Tsv);
  ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
  ASSERT_EQ(result.Lessons.size(), 2u);
  EXPECT_EQ(result.PairCount, 3);
  EXPECT_EQ(result.Lessons[0]->LessonNbr, 1);
  EXPECT_EQ(result.Lessons[1]->LessonNbr, 2);
  EXPECT_EQ(result.Lessons[1]->SlotCount(), 2);

  EXPECT_EQ(Pear(result, 0, 0)->GetFileLine(), "0=Haus@house#\\LangFiles\\haus.wav@ \xC2\xA7");
  EXPECT_EQ(Pear(result, 1, 0)->GetFileLine(), "0=rot@red# @ *");
  EXPECT_EQ(Pear(result, 1, 1)->GetFileLine(), "1=blau@blue# @ ");
}

TEST(TableImportTest, ColumnsInAnyOrderWithOptionalOnesMissing) {
  const TTableImport result = ImportTable("\xEF\xBB\xBF Word2 ,LESSON,word1\nhouse, 3 ,Haus\n", TTableFormat::Csv);
  ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
  ASSERT_EQ(result.Lessons.size(), 1u);
  EXPECT_EQ(result.Lessons[0]->LessonNbr, 3);
  const auto pear = Pear(result, 0, 0);
  EXPECT_EQ(pear->Word1, "Haus");
  EXPECT_EQ(pear->Word2, "house");
  EXPECT_EQ(pear->WavFile1, " ");
  EXPECT_EQ(pear->WavFile2, " ");
  EXPECT_TRUE(pear->InUse);
  EXPECT_FALSE(pear->Drawn);
}

TEST(TableImportTest, FlagsAndDefaults) {
  const TTableImport result = ImportTable(
      "lesson,use,drawn,word1,word2\n"
      "1,,,a,b\n"    // empty use means 1, empty drawn 0
      "1,0,1,c,d\n"  // drawn without use is not kept
      "1,1,1,e,f\n",
      TTableFormat::Csv);
  ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
  const auto& lesson = *result.Lessons[0];
  EXPECT_TRUE(lesson.GetPear(0)->InUse && !lesson.GetPear(0)->Drawn);
  EXPECT_TRUE(!lesson.GetPear(1)->InUse && !lesson.GetPear(1)->Drawn);
  EXPECT_TRUE(lesson.GetPear(2)->InUse && lesson.GetPear(2)->Drawn);
}

TEST(TableImportTest, BlankRowsAreSkipped) {
  const TTableImport result = ImportTable("\n" + kCsvHeader + "\n1,a,b,,\n,,,,\n\n1,c,d,,\n", TTableFormat::Csv);
  ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
  EXPECT_EQ(result.PairCount, 2);
}

// Texts stay UTF-8 in memory whichever file they are meant for; a
// Windows-1252 file takes every character it has a byte for (the euro sign
// is one of the bytes Latin-1 lacks).
TEST(TableImportTest, KeepsTextsInUtf8ForEitherEncoding) {
  for (const TTextEncoding target : {TTextEncoding::Utf8, TTextEncoding::Cp1252}) {
    const TTableImport result = ImportTable(
        kCsvHeader + "1,Stra\xC3\x9F" "e,\xE2\x82\xAC uro,\\LangFiles\\\xC3\xA4.wav,\n", TTableFormat::Csv, target);
    ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
    EXPECT_EQ(Pear(result, 0, 0)->Word1, "Stra\xC3\x9F" "e");
    EXPECT_EQ(Pear(result, 0, 0)->Word2, "\xE2\x82\xAC uro");
    EXPECT_EQ(Pear(result, 0, 0)->WavFile1, "\\LangFiles\\\xC3\xA4.wav");
  }
}

// A line of the file is limited in the file's bytes: "ä" is two of them in
// UTF-8 and one in Windows-1252.
TEST(TableImportTest, PairLineIsMeasuredInTheFileBytes) {
  std::string sound;
  for (std::size_t i = 0; i < kMaxContainerLine / 2 + 1; ++i) sound += "\xC3\xA4";
  const std::string table = kCsvHeader + "1,a,b," + sound + ",\n";
  const TTableImport utf8 = ImportTable(table, TTableFormat::Csv, TTextEncoding::Utf8);
  ASSERT_EQ(utf8.Errors.size(), 1u);
  EXPECT_NE(utf8.Errors[0].Reason.find("too long for a line"), std::string::npos) << utf8.Errors[0].Reason;
  const TTableImport legacy = ImportTable(table, TTableFormat::Csv, TTextEncoding::Cp1252);
  EXPECT_TRUE(legacy.Ok()) << legacy.Errors[0].Describe();
}

// The separators a field may hold read back unchanged from the pair line.
TEST(TableImportTest, AllowedSeparatorsSurviveThePairLine) {
  const TTableImport result = ImportTable(kCsvHeader + "1,a=b,c@d=e,x#y,p@q#r\n", TTableFormat::Csv);
  ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
  const auto pear = Pear(result, 0, 0);
  const TWordPear back(pear->GetFileLine());
  EXPECT_EQ(back.Word1, "a=b");
  EXPECT_EQ(back.Word2, "c@d=e");
  EXPECT_EQ(back.WavFile1, "x#y");
  EXPECT_EQ(back.WavFile2, "p@q#r");
  EXPECT_TRUE(back.InUse);
}

struct TRejectCase {
  const char* name;
  std::string table;  // CSV
  int rowNbr;         // 0: the table as a whole
  int lineNbr;
  const char* reason;
  TTextEncoding target = TTextEncoding::Utf8;
};

void PrintTo(const TRejectCase& c, std::ostream* os) { *os << c.name; }

class TableRejectTest : public testing::TestWithParam<TRejectCase> {};

TEST_P(TableRejectTest, NamesRowAndReasonAndKeepsNoLesson) {
  const TRejectCase& c = GetParam();
  const TTableImport result = ImportTable(c.table, TTableFormat::Csv, c.target);
  ASSERT_FALSE(result.Ok());
  EXPECT_TRUE(result.Lessons.empty());
  auto found = std::find_if(result.Errors.begin(), result.Errors.end(),
                            [&](const TTableError& e) { return e.Reason.find(c.reason) != std::string::npos; });
  ASSERT_NE(found, result.Errors.end()) << result.Errors[0].Describe();
  const TTableError& error = *found;
  EXPECT_EQ(error.Place.RowNbr, c.rowNbr) << error.Describe();
  EXPECT_EQ(error.Place.LineNbr, c.lineNbr) << error.Describe();
  EXPECT_NE(error.Reason.find(c.reason), std::string::npos) << error.Describe();
}

const std::string kLong(70000, 'x');

// n times "ä": two bytes in UTF-8, one character.
std::string Umlauts(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += "\xC3\xA4";
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableRejectTest,
    testing::Values(
        TRejectCase{"CharacterWithoutByte", kCsvHeader + "1,a,b,,\n1,Haus,\xC5\x91,,\n", 3, 3,
                    "word2 contains \"\xC5\x91\" (U+0151), which Windows-1252 cannot hold", TTextEncoding::Cp1252},
        TRejectCase{"EmojiInSound", kCsvHeader + "1,a,b,\xF0\x9F\x94\x8A.wav,\n", 2, 2, "wav1 contains \"\xF0\x9F\x94\x8A\" (U+1F50A)",
                    TTextEncoding::Cp1252},
        TRejectCase{"NotUtf8ForWindows1252", kCsvHeader + "1,\xFF,b,,\n", 2, 2, "word1 is not valid UTF-8", TTextEncoding::Cp1252},
        TRejectCase{"NotUtf8", kCsvHeader + "1,\xFF,b,,\n", 2, 2, "word1 is not valid UTF-8"},
        TRejectCase{"Latin1", kCsvHeader + "1,caf\xE9,b,,\n", 2, 2, "save it as UTF-8"},
        TRejectCase{"Word1At", kCsvHeader + "1,a@b,c,,\n", 2, 2, "word1 contains \"@\""},
        TRejectCase{"Word1Hash", kCsvHeader + "1,a#b,c,,\n", 2, 2, "word1 contains \"#\""},
        TRejectCase{"Word1Star", kCsvHeader + "1,a*,c,,\n", 2, 2, "word1 contains \"*\""},
        TRejectCase{"Word1Section", kCsvHeader + "1,\xC2\xA7" "1,c,,\n", 2, 2, "word1 contains \"\xC2\xA7\""},
        TRejectCase{"Word2Hash", kCsvHeader + "1,a,b#c,,\n", 2, 2, "word2 contains \"#\""},
        TRejectCase{"Word2Star", kCsvHeader + "1,a,b*,,\n", 2, 2, "word2 contains \"*\""},
        TRejectCase{"Word2Section", kCsvHeader + "1,a,b\xC2\xA7,,\n", 2, 2, "word2 contains \"\xC2\xA7\""},
        TRejectCase{"Wav1At", kCsvHeader + "1,a,b,x@y.wav,\n", 2, 2, "wav1 contains \"@\""},
        TRejectCase{"Wav1Star", kCsvHeader + "1,a,b,*.wav,\n", 2, 2, "wav1 contains \"*\""},
        TRejectCase{"Wav1Section", kCsvHeader + "1,a,b,\xC2\xA7.wav,\n", 2, 2, "wav1 contains \"\xC2\xA7\""},
        TRejectCase{"Wav2Star", kCsvHeader + "1,a,b,,x.wav*\n", 2, 2, "wav2 contains \"*\""},
        TRejectCase{"Wav2Section", kCsvHeader + "1,a,b,,x.wav\xC2\xA7\n", 2, 2, "wav2 contains \"\xC2\xA7\""},
        TRejectCase{"LessonZero", kCsvHeader + "0,a,b,,\n", 2, 2, "lesson \"0\" is not a whole number from 1"},
        TRejectCase{"LessonNegative", kCsvHeader + "-3,a,b,,\n", 2, 2, "lesson \"-3\" is not"},
        TRejectCase{"LessonText", kCsvHeader + "one,a,b,,\n", 2, 2, "lesson \"one\" is not"},
        TRejectCase{"LessonFraction", kCsvHeader + "1.5,a,b,,\n", 2, 2, "lesson \"1.5\" is not"},
        TRejectCase{"LessonEmpty", kCsvHeader + ",a,b,,\n", 2, 2, "lesson \"\" is not"},
        TRejectCase{"LessonTooHigh", kCsvHeader + "100000,a,b,,\n", 2, 2, "from 1 to 99999"},
        TRejectCase{"LessonBeyond32Bits", kCsvHeader + "99999999999,a,b,,\n", 2, 2, "is not a whole number"},
        TRejectCase{"EmptyWord1", kCsvHeader + "1,,b,,\n", 2, 2, "word1 is an empty phrase"},
        TRejectCase{"EmptyWord2", kCsvHeader + "1,a,,,\n", 2, 2, "word2 is an empty phrase"},
        TRejectCase{"BlankWord2", kCsvHeader + "1,a,\"  \",,\n", 2, 2, "word2 is an empty phrase"},
        TRejectCase{"MalformedQuote", kCsvHeader + "1,\"a\"b,c,,\n", 2, 2, "malformed CSV"},
        TRejectCase{"UnclosedQuote", kCsvHeader + "1,a,b,,\n1,\"a,b,,\n", 3, 3, "never closed"},
        TRejectCase{"TooManyFields", kCsvHeader + "1,a,b,,,\n", 2, 2, "the row has 6 fields, the header 5"},
        TRejectCase{"TooFewFields", kCsvHeader + "1,a,b\n", 2, 2, "the row has 3 fields, the header 5"},
        TRejectCase{"QuotedLineBreak", kCsvHeader + "1,\"a\r\nb\",c,,\n", 2, 2, "word1 contains a line break"},
        TRejectCase{"RowAfterQuotedLineBreak", kCsvHeader + "1,\"a, \"\"b\"\"\nc\",d,,\n0,e,f,,\n", 3, 4, "lesson \"0\""},
        TRejectCase{"Tab", kCsvHeader + "1,a\tb,c,,\n", 2, 2, "word1 contains a tab"},
        TRejectCase{"Nul", kCsvHeader + std::string("1,a\0b,c,,\n", 10), 2, 2, "control character U+0000"},
        TRejectCase{"UseNotFlag", "lesson,use,word1,word2\n1,yes,a,b\n", 2, 2, "use is \"yes\", not 0 or 1"},
        TRejectCase{"DrawnNotFlag", "lesson,drawn,word1,word2\n1,2,a,b\n", 2, 2, "drawn is \"2\", not 0 or 1"},
        TRejectCase{"TooLongForALine", kCsvHeader + "1,a,b," + kLong + ",\n", 2, 2, "too long for a line"},
        TRejectCase{"PhraseOverEditorLimit", kCsvHeader + "1,a,b,,\n1,a," + std::string(67, 'y') + ",,\n", 3, 3,
                    "word2 has 67 characters; the lesson editor takes at most 50"},
        TRejectCase{"UmlautsCountAsOneCharacter", kCsvHeader + "1," + Umlauts(51) + ",b,,\n", 2, 2,
                    "word1 has 51 characters"},
        TRejectCase{"UmlautsCountAsOneCharacterForWindows1252", kCsvHeader + "1," + Umlauts(51) + ",b,,\n", 2, 2,
                    "word1 has 51 characters", TTextEncoding::Cp1252},
        TRejectCase{"UnknownColumn", "lesson,word1,word2,note\n1,a,b,c\n", 1, 1, "unknown column \"note\""},
        TRejectCase{"DuplicateColumn", "lesson,word1,word2,Word1\n1,a,b,c\n", 1, 1, "the column word1 comes twice"},
        TRejectCase{"MissingColumn", "lesson,word1,wav1\n1,a,\n", 1, 1, "no column word2"},
        TRejectCase{"SemicolonSeparated", "lesson;word1;word2\n1;a;b\n", 1, 1, "separated by semicolons"},
        TRejectCase{"EmptyTable", "\n\n", 0, 0, "the table is empty"},
        TRejectCase{"HeaderOnly", kCsvHeader, 0, 0, "no rows of phrase pairs"}),
    [](const testing::TestParamInfo<TRejectCase>& info) { return info.param.name; });

TEST(TableImportTest, PhraseOfTheEditorLimitIsTaken) {
  const TTableImport result =
      ImportTable(kCsvHeader + "1," + Umlauts(kMaxPhraseLength) + "," + std::string(kMaxPhraseLength, 'b') + ",,\n",
                  TTableFormat::Csv);
  ASSERT_TRUE(result.Ok()) << result.Errors[0].Describe();
  EXPECT_EQ(Pear(result, 0, 0)->Word1, Umlauts(kMaxPhraseLength));
  EXPECT_EQ(Utf8Length(Pear(result, 0, 0)->Word1), static_cast<std::size_t>(kMaxPhraseLength));
}

TEST(TableImportTest, ListsEveryRejectedRow) {
  const TTableImport result = ImportTable(kCsvHeader + "1,a@,b,,\n1,ok,ok,,\n0,,b,,\n", TTableFormat::Csv);
  ASSERT_EQ(result.Errors.size(), 3u);
  EXPECT_EQ(result.Errors[0].Describe(), "row 2: word1 contains \"@\", which separates or marks the fields of a language file line");
  EXPECT_EQ(result.Errors[1].Place.RowNbr, 4);
  EXPECT_NE(result.Errors[1].Reason.find("lesson"), std::string::npos);
  EXPECT_EQ(result.Errors[2].Describe(), "row 4: word1 is an empty phrase");
  EXPECT_TRUE(result.Lessons.empty());
}

TEST(TableImportTest, CsvGivenAsTsvIsNamedAsSuch) {
  const TTableImport result = ImportTable("lesson,word1,word2\n1,a,b\n", TTableFormat::Tsv);
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_NE(result.Errors[0].Reason.find("comma-separated ones --csv"), std::string::npos) << result.Errors[0].Reason;
}

TEST(TableImportTest, TsvRejectsTheSameWay) {
  const TTableImport result = ImportTable("lesson\tword1\tword2\n1\ta*\tb\n", TTableFormat::Tsv);
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_EQ(result.Errors[0].Describe().substr(0, 21), "row 2: word1 contains");
}

struct TNameCase {
  TPairField field;
  std::string name;
  const char* problem;  // empty: accepted
  TTextEncoding target = TTextEncoding::Utf8;
};

TEST(PairFieldsTest, LanguageNames) {
  const TNameCase cases[] = {
      {TPairField::Lang1Name, "English", ""},
      {TPairField::Lang1Name, "Fran\xC3\xA7" "ais", ""},
      {TPairField::Lang1Name, "Eng@lish", "--lang1 contains \"@\""},
      {TPairField::Lang2Name, "Ger@man", ""},
      {TPairField::Lang1Name, "", "--lang1 is empty"},
      {TPairField::Lang2Name, " ", "--lang2 is empty"},
      {TPairField::Lang1Name, "[1]", "--lang1 begins with \"[\""},
      {TPairField::Lang2Name, "[1]", ""},
      {TPairField::Lang2Name, "\xD0\x96", "--lang2 contains \"\xD0\x96\" (U+0416)", TTextEncoding::Cp1252},
      {TPairField::Lang2Name, "\xD0\x96", ""},
      {TPairField::Lang1Name, "Fran\xC3\xA7" "ais", "", TTextEncoding::Cp1252},
      {TPairField::Lang1Name, "\xFF", "--lang1 is not valid UTF-8"},
      {TPairField::Lang2Name, "a\nb", "--lang2 contains a line break"},
  };
  for (const TNameCase& c : cases) {
    std::string converted;
    const std::string problem = CheckPairField(c.field, c.name, converted, c.target);
    if (*c.problem == 0) {
      EXPECT_EQ(problem, "") << c.name;
    } else {
      EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << c.name << ": " << problem;
    }
  }
}

}  // namespace

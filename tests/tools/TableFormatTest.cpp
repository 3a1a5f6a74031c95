#include <gtest/gtest.h>

#include "storage/TableFormat.h"

namespace {

using TFields = std::vector<std::string>;

struct TParseCase {
  const char* name;
  TTableFormat format;
  std::string text;
  std::vector<TFields> rows;
  std::vector<TTablePlace> places;  // empty: not checked
};

void PrintTo(const TParseCase& c, std::ostream* os) { *os << c.name; }

class ParseTableTest : public testing::TestWithParam<TParseCase> {};

TEST_P(ParseTableTest, SplitsRowsAndFields) {
  const TParseCase& c = GetParam();
  std::vector<TTableRow> rows;
  TTableError error;
  ASSERT_TRUE(ParseTable(c.text, c.format, rows, error)) << error.Describe();
  ASSERT_EQ(rows.size(), c.rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].Fields, c.rows[i]) << "row " << i + 1;
    if (!c.places.empty()) {
      EXPECT_EQ(rows[i].Place.RowNbr, c.places[i].RowNbr) << "row " << i + 1;
      EXPECT_EQ(rows[i].Place.LineNbr, c.places[i].LineNbr) << "row " << i + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTableTest,
    testing::Values(
        TParseCase{"CsvPlain", TTableFormat::Csv, "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {}},
        TParseCase{"CsvLfAndNoLastLineEnd", TTableFormat::Csv, "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {}},
        TParseCase{"CsvEmptyFields", TTableFormat::Csv, ",x,\n", {{"", "x", ""}}, {}},
        TParseCase{"CsvQuotedComma", TTableFormat::Csv, "\"a,b\",c\n", {{"a,b", "c"}}, {}},
        TParseCase{"CsvDoubledQuotes", TTableFormat::Csv, "\"say \"\"hi\"\"\",\"\"\n", {{"say \"hi\"", ""}}, {}},
        TParseCase{"CsvQuotedLineBreakKeepsLineCount", TTableFormat::Csv,
                   "h1,h2\r\n\"two\r\nlines\",x\r\ny,z\r\n",
                   {{"h1", "h2"}, {"two\r\nlines", "x"}, {"y", "z"}},
                   {{1, 1}, {2, 2}, {3, 4}}},
        TParseCase{"CsvBlankLineIsARowOfOneEmptyField", TTableFormat::Csv, "a\n\nb\n", {{"a"}, {""}, {"b"}}, {}},
        TParseCase{"CsvByteOrderMarkSkipped", TTableFormat::Csv, "\xEF\xBB\xBFlesson,word1\n", {{"lesson", "word1"}}, {}},
        TParseCase{"CsvLoneCrStaysInField", TTableFormat::Csv, "a\rb,c\n", {{"a\rb", "c"}}, {}},
        TParseCase{"TsvPlain", TTableFormat::Tsv, "a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}}, {{1, 1}, {2, 2}}},
        TParseCase{"TsvCrLfAndQuotesAsText", TTableFormat::Tsv, "\"a\"\tb,c\r\n", {{"\"a\"", "b,c"}}, {}},
        TParseCase{"TsvEmptyFields", TTableFormat::Tsv, "\t\t\n", {{"", "", ""}}, {}},
        TParseCase{"EmptyText", TTableFormat::Csv, "", {}, {}}),
    [](const testing::TestParamInfo<TParseCase>& info) { return info.param.name; });

struct TMalformedCase {
  const char* name;
  std::string text;
  TTablePlace place;
  const char* reason;
};

void PrintTo(const TMalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedCsvTest : public testing::TestWithParam<TMalformedCase> {};

TEST_P(MalformedCsvTest, IsRejectedWithItsRow) {
  const TMalformedCase& c = GetParam();
  std::vector<TTableRow> rows;
  TTableError error;
  ASSERT_FALSE(ParseTable(c.text, TTableFormat::Csv, rows, error));
  EXPECT_EQ(error.Place.RowNbr, c.place.RowNbr);
  EXPECT_EQ(error.Place.LineNbr, c.place.LineNbr);
  EXPECT_NE(error.Reason.find(c.reason), std::string::npos) << error.Reason;
  EXPECT_NE(error.Reason.find("malformed CSV"), std::string::npos) << error.Reason;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedCsvTest,
    testing::Values(TMalformedCase{"UnclosedQuote", "a,b\n\"open,x\ny,z\n", {2, 2}, "never closed"},
                    TMalformedCase{"TextAfterClosingQuote", "a,b\nc,d\n\"x\"y,z\n", {3, 3}, "after the closing quote"},
                    TMalformedCase{"QuoteInsideUnquotedField", "a,b\nx\"y,z\n", {2, 2}, "quote inside"},
                    TMalformedCase{"BlankBeforeQuote", "a, \"b\"\n", {1, 1}, "quote inside"},
                    TMalformedCase{"AfterMultiLineField", "\"a\nb\",c\n\"d\"e\n", {2, 3}, "after the closing quote"}),
    [](const testing::TestParamInfo<TMalformedCase>& info) { return info.param.name; });

TEST(TableErrorTest, DescribeNamesRowAndLineWhereTheyDiffer) {
  EXPECT_EQ((TTableError{{3, 3}, "why"}).Describe(), "row 3: why");
  EXPECT_EQ((TTableError{{3, 5}, "why"}).Describe(), "row 3 (line 5): why");
  EXPECT_EQ((TTableError{{}, "why"}).Describe(), "why");
}

struct TFormatCase {
  const char* name;
  TFields fields;
  std::string csv;
};

void PrintTo(const TFormatCase& c, std::ostream* os) { *os << c.name; }

class FormatCsvTest : public testing::TestWithParam<TFormatCase> {};

TEST_P(FormatCsvTest, QuotesWhereNeededAndReadsBack) {
  const TFormatCase& c = GetParam();
  const std::string line = FormatTableRow(c.fields, TTableFormat::Csv);
  EXPECT_EQ(line, c.csv);
  std::vector<TTableRow> rows;
  TTableError error;
  ASSERT_TRUE(ParseTable(line, TTableFormat::Csv, rows, error)) << error.Describe();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Fields, c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatCsvTest,
    testing::Values(TFormatCase{"Plain", {"1", "Haus", "house"}, "1,Haus,house\r\n"},
                    TFormatCase{"Comma", {"a,b", "c"}, "\"a,b\",c\r\n"},
                    TFormatCase{"Quote", {"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
                    TFormatCase{"LineBreak", {"a\nb", "c\r\nd"}, "\"a\nb\",\"c\r\nd\"\r\n"},
                    TFormatCase{"OuterBlanks", {" a", "b ", "c d"}, "\" a\",\"b \",c d\r\n"},
                    TFormatCase{"EmptyFields", {"", "x", ""}, ",x,\r\n"},
                    TFormatCase{"Utf8Kept", {"Stra\xC3\x9F" "e", "\xE2\x82\xAC"}, "Stra\xC3\x9F" "e,\xE2\x82\xAC\r\n"}),
    [](const testing::TestParamInfo<TFormatCase>& info) { return info.param.name; });

TEST(FormatTsvTest, JoinsWithTabsAndEndsWithLf) {
  EXPECT_EQ(FormatTableRow({"1", "a,b", "\"q\"", ""}, TTableFormat::Tsv), "1\ta,b\t\"q\"\t\n");
}

TEST(FormatTsvTest, FieldsWithTabsOrLineBreaksDoNotFit) {
  EXPECT_TRUE(TableFieldFits("a,b \"c\"", TTableFormat::Tsv));
  for (const char* field : {"a\tb", "a\nb", "a\rb"}) {
    EXPECT_FALSE(TableFieldFits(field, TTableFormat::Tsv)) << field;
    EXPECT_TRUE(TableFieldFits(field, TTableFormat::Csv)) << field;
  }
}

}  // namespace

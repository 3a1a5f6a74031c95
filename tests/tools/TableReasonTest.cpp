#include <gtest/gtest.h>

#include "storage/TableImport.h"

namespace {

// A table made for one lesson leaves out the lesson column; only a caller
// that names the lesson takes it so, and a lesson column still counts.
TEST(TableImportForOneLessonTest, MissingLessonColumnMeansTheGivenLesson) {
  const std::string noColumn = "word1,word2\nhouse,Haus\ntree,Baum\n";
  const TTableImport tool = ImportTable(noColumn, TTableFormat::Csv);
  ASSERT_FALSE(tool.Ok());
  EXPECT_EQ(tool.Errors[0].Problem.Code, TTableReason::MissingColumn);

  const TTableImport one = ImportTable(noColumn, TTableFormat::Csv, TTextEncoding::Utf8, 4);
  ASSERT_TRUE(one.Ok()) << one.Errors[0].Describe();
  ASSERT_EQ(one.Lessons.size(), 1u);
  EXPECT_EQ(one.Lessons[0]->LessonNbr, 4);
  EXPECT_EQ(one.PairCount, 2);

  const TTableImport named =
      ImportTable("lesson,word1,word2\n7,house,Haus\n8,tree,Baum\n", TTableFormat::Csv, TTextEncoding::Utf8, 4);
  ASSERT_TRUE(named.Ok());
  ASSERT_EQ(named.Lessons.size(), 2u);
  EXPECT_EQ(named.Lessons[0]->LessonNbr, 7);
}

// Every error names its reason as a code, and the English text the tool
// prints is the one made from that code.
TEST(TableReasonTest, EveryErrorHasACodeThatGivesItsText) {
  const std::string tables[] = {
      "lesson,word1,word2,use\n1,a@,b,1\nx,c,d,1\n1,e,,1\n1,f,g,2\n1,h\n",
      "lesson,word1,word1,colour\n",
      "lesson;word1;word2\n",
      "lesson,word1,word2\n1,\"a\"b,c\n",
      "",
  };
  for (const std::string& table : tables) {
    const TTableImport result = ImportTable(table, TTableFormat::Csv, TTextEncoding::Cp1252);
    ASSERT_FALSE(result.Ok()) << table;
    for (const TTableError& error : result.Errors) {
      EXPECT_NE(error.Problem.Code, TTableReason::None) << error.Describe();
      EXPECT_EQ(error.Reason, EnglishReason(error.Problem));
    }
  }
}

}  // namespace

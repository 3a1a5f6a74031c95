// What a load drops under the reading rules is reported, kind and place, so
// that the first save of such a file can keep its old bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Errors.h"
#include "storage/CodeDecode.h"
#include "storage/LangFHandler.h"
#include "StoredImage.h"

namespace {

struct TLossCase {
  const char* name;
  std::string text;
  TLossKind kind;
  int64_t count;
  int32_t lessonNbr;  // of the first place
  int64_t lineNbr;
};

using namespace std::string_literals;

const std::vector<TLossCase> kCases = {
    {"NulInsidePair", "[General]\r\nA@B\r\n[1]\r\n0=house@Haus# @ *\r\n1=tree\0 (secret note)@Baum# @ *\r\n"s,
     TLossKind::TextCutAtNul, 1, 1, 5},
    {"NegativeLesson", "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\n[-5]\r\n0=c@d# @ *\r\n"s, TLossKind::NegativeLesson,
     1, -5, 5},
    {"LessonTwice", "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\n[2]\r\n0=x@y# @ *\r\n[1]\r\n0=c@d# @ *\r\n"s,
     TLossKind::LessonReplaced, 1, 1, 7},
    {"LinesBeforeGeneral", "a note\r\n[1]\r\n\r\n[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\n"s,
     TLossKind::LinesBeforeGeneral, 2, -1, 1},
    {"PairNumberTwice", "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\n0=c@d# @ *\r\n"s, TLossKind::PairReplaced, 1, 1, 5},
    {"NegativePairNumber", "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\n-1=c@d# @ *\r\n"s, TLossKind::PairReplaced, 1, 1,
     5},
    {"SecondNamesLine", "[General]\r\nA@B\r\nC@D\r\n[1]\r\n0=a@b# @ *\r\n"s, TLossKind::NamesReplaced, 1, -1, 3},
    {"LoneCarriageReturn", "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\rX1=c@d# @ *\r\n"s, TLossKind::BrokenLineEnd, 1, 1,
     4},
    {"LoneLineFeed", "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\n1=c@d# @ *\r\n"s, TLossKind::BrokenLineEnd, 1, 1, 4},
};

class LoadLossesTest : public ::testing::TestWithParam<TLossCase> {};
}  // namespace

TEST_P(LoadLossesTest, LoadReportsWhatTheRulesDropped) {
  const TLossCase& c = GetParam();
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangBytes(StoredImage(c.text), "case.lang"));
  const TLoadLosses& losses = handler.LoadLosses();
  EXPECT_EQ(losses.Count(c.kind), c.count);
  EXPECT_EQ(losses.Total(), c.count) << "only the one kind of loss";
  ASSERT_FALSE(losses.Places.empty());
  EXPECT_EQ(losses.Places[0].Kind, c.kind);
  EXPECT_EQ(losses.Places[0].LessonNbr, c.lessonNbr);
  EXPECT_EQ(losses.Places[0].LineNbr, c.lineNbr);
  EXPECT_EQ(handler.LoadedFileName(), "case.lang");
}

INSTANTIATE_TEST_SUITE_P(Kinds, LoadLossesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadLosses, FileTheWriterMadeReportsNothing) {
  TStrVector lines;
  lines.Add("[General]");
  lines.Add("English@German");
  lines.Add("[1]");
  lines.Add("0=house@Haus# @ *");
  lines.Add("");  // an empty line inside a lesson holds nothing to lose
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangBytes(StringsToContainer(lines), "x.lang"));
  EXPECT_FALSE(handler.LoadLosses().Any());
}

TEST(LoadLosses, ManyLossesAreCountedButFewPlacesKept) {
  std::string text = "[General]\r\nA@B\r\n[1]\r\n";
  for (int i = 0; i < 1000; ++i) text += std::to_string(i) + "=a\0b@c# @ *\r\n"s;
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangBytes(StoredImage(text), "many.lang"));
  EXPECT_EQ(handler.LoadLosses().Count(TLossKind::TextCutAtNul), 1000);
  EXPECT_EQ(handler.LoadLosses().Places.size(), TLoadLosses::kPlacesKept);
}

TEST(LoadLosses, MalformedNumberReportsTheReadStopped) {
  TLangFHandler handler;
  const TBytes bytes = StoredImage("[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\nx=c@d# @ *\r\n[2]\r\n0=e@f# @ *\r\n");
  EXPECT_THROW(handler.LoadLangBytes(bytes, "stop.lang"), TConversionError);
  EXPECT_EQ(handler.LoadLosses().Count(TLossKind::ReadStopped), 1);
  EXPECT_EQ(handler.LoadLosses().Places.back().LineNbr, 5);
}

TEST(LoadLosses, KeptThroughClearLessonsAndReplacedByTheNextLoad) {
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangBytes(StoredImage("[General]\r\nA@B\r\n[-1]\r\n0=a@b# @ *\r\n[1]\r\n0=c@d# @ *\r\n"),
                                    "a.lang"));
  handler.ClearLessons();
  EXPECT_TRUE(handler.LoadLosses().Any());
  // A damaged file changes nothing, the report included.
  EXPECT_FALSE(handler.LoadLangBytes(TBytes{1, 2, 3}, "b.lang"));
  EXPECT_EQ(handler.LoadedFileName(), "a.lang");
  ASSERT_TRUE(handler.LoadLangBytes(StoredImage("[General]\r\nA@B\r\n[1]\r\n0=c@d# @ *\r\n"), "c.lang"));
  EXPECT_FALSE(handler.LoadLosses().Any());
  EXPECT_EQ(handler.LoadedFileName(), "c.lang");
}

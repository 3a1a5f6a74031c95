#include <gtest/gtest.h>

#include <string>

#include "storage/AnkiImport.h"

namespace {

std::string Line(const TImportedLessons& result, std::size_t lesson, int32_t pair) {
  return result.Lessons.at(lesson)->GetPear(pair)->GetFileLine();
}

// As Anki writes it with "Include HTML", deck and tags: note type first,
// deck second, the fields, the tags last.
const std::string kWithHeaders =
    "#separator:tab\n"
    "#html:true\n"
    "#notetype column:1\n"
    "#deck column:2\n"
    "#tags column:6\n"
    "#guid column:7\n"
    "Basic\tGerman::Food\t<b>Brot</b>\tbread [sound:bread.wav]\tan extra field\tfood\tabc\n"
    "Basic\tGerman::Home\tHaus<br>Geb\xC3\xA4ude\t\"house &amp; \"\"home\"\"\"\t\t\tdef\n"
    "Basic\tGerman::Food\tK&auml;se&#x21;\t\"cheese\nwedge\"\t\t\tghi\n"
    "Basic\tGerman::Food\t<img src=\"x.png\">\tnothing [sound:gone.mp3]\t\t\tjkl\n"
    "Basic\tGerman::Home\t[sound:tuer.wav]T&uuml;r\tdoor\t\t\tmno\n";

TEST(AnkiImportTest, ExportWithHeadersHtmlSoundAndTwoDecks) {
  TAnkiOptions options;
  options.FirstLesson = 3;
  options.KeepSound = [](const std::string& name) { return name == "gone.mp3" ? std::string() : "media/" + name; };
  const TImportedLessons result = ImportAnki(kWithHeaders, options);
  ASSERT_TRUE(result.Ok()) << result.Errors[0];
  ASSERT_EQ(result.Lessons.size(), 2u);
  EXPECT_EQ(result.Lessons[0]->LessonNbr, 3);
  EXPECT_EQ(result.Lessons[1]->LessonNbr, 4);
  EXPECT_EQ(Line(result, 0, 0), "0=Brot@bread# @media/bread.wav*");
  EXPECT_EQ(Line(result, 0, 1), "1=K\xC3\xA4se!@cheese wedge# @ *");
  EXPECT_EQ(Line(result, 1, 0), "0=Haus Geb\xC3\xA4ude@house & \"home\"# @ *");
  EXPECT_EQ(Line(result, 1, 1), "1=T\xC3\xBCr@door#media/tuer.wav@ *");
  const std::vector<std::string> names = {"3: German::Food", "4: German::Home"};
  EXPECT_EQ(result.LessonNames, names);
  EXPECT_EQ(result.NotKept.Summary(),
            "Not kept: 1 note's tags, 1 further field, 1 image, 1 sound not found beside the export, "
            "1 note without text on both sides");
}

TEST(AnkiImportTest, WithoutHeadersEverythingGoesToOneLesson) {
  struct TCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  };
  const TCase cases[] = {
      {"tabs", "Hund\tdog\r\n\"a;b\"\t\"x\ny\"\r\n\r\n", {"0=Hund@dog# @ *", "1=a;b@x y# @ *"}},
      {"semicolons", "\xEF\xBB\xBFHund;dog\nKatze;\"cat, the\"\n", {"0=Hund@dog# @ *", "1=Katze@cat, the# @ *"}},
      {"commas", "Hund,dog\n", {"0=Hund@dog# @ *"}},
      {"named separator", "#separator:Pipe\nHund|dog\n", {"0=Hund@dog# @ *"}},
      {"plain text", "#html:false\n#separator:comma\n<b>Hund</b>,&amp;\n", {"0=<b>Hund</b>@&amp;# @ *"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TAnkiOptions options;
    options.FirstLesson = 2;
    const TImportedLessons result = ImportAnki(c.text, options);
    ASSERT_TRUE(result.Ok()) << result.Errors[0];
    ASSERT_EQ(result.Lessons.size(), 1u);
    EXPECT_EQ(result.Lessons[0]->LessonNbr, 2);
    EXPECT_TRUE(result.LessonNames.empty());
    ASSERT_EQ(result.Lessons[0]->PearCount(), static_cast<int32_t>(c.lines.size()));
    for (std::size_t p = 0; p < c.lines.size(); ++p) EXPECT_EQ(Line(result, 0, static_cast<int32_t>(p)), c.lines[p]);
  }
}

TEST(AnkiImportTest, BrokenExportsAreRefused) {
  struct TCase {
    const char* name;
    std::string text;
    const char* reason;
  };
  const TCase cases[] = {
      {"open quote", "a\t\"never closed\n", "line 1: a quoted field is never closed"},
      {"unknown separator", "#separator:Banana\na\tb\n", "line 1: the separator \"Banana\" is not one Anki writes"},
      {"bad column", "#deck column:x\na\tb\n", "line 1: \"x\" is no column number"},
      {"only headers", "#separator:tab\n#html:true\n", "no note with text on both sides"},
      {"one field", "just one\n", "no note with text on both sides"},
      {"a separator of a language file", "a@b\tc\n", "line 1: word1 contains \"@\""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TImportedLessons result = ImportAnki(c.text, {});
    ASSERT_EQ(result.Errors.size(), 1u);
    EXPECT_NE(result.Errors[0].find(c.reason), std::string::npos) << result.Errors[0];
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <limits>

#include "core/Errors.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "StoredImage.h"
#include "SaveCallFault.h"

namespace {
using Lines = std::vector<std::string>;

// Names, then each stored lesson with the lines of its pairs in slot order.
std::string Summary(const TLangFHandler& h) {
  std::string s = h.GetLang1Name() + "|" + h.GetLang2Name();
  for (int32_t n = 0; n < h.LessonSlotCount(); ++n) {
    auto lesson = h.GetLesson(n);
    if (!lesson) continue;
    s += "|[" + std::to_string(lesson->LessonNbr) + "]";
    for (int32_t p = 0; p < lesson->SlotCount(); ++p)
      if (auto pear = lesson->GetPear(p)) s += " " + pear->GetFileLine();
  }
  return s;
}

const Lines kExample = {
    "[General]",
    "English@German",
    "[1]",
    "0=house@Haus# @ *",
    "1=tree@Baum#\\LangFiles\\Eng_Ger\\tree.wav@\\LangFiles\\Eng_Ger\\baum.wav\xA7",
    "[2]",
    "0=red@rot# @ ",
};

class LangFHandlerTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  std::string Put(const std::string& name, const TBytes& bytes) const {
    EXPECT_TRUE(WriteFileBytes(Path(name), bytes, true));
    return Path(name);
  }
  QTemporaryDir dir_;
};
}  // namespace

TEST_F(LangFHandlerTest, ExampleFileReadsWritesAndRereadsByteIdentical) {
  const std::string original = Put("example.lang", ContainerOf(kExample));
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangFile(original));
  EXPECT_EQ(h.GetLang1Name(), "English");
  EXPECT_EQ(h.GetLang2Name(), "German");
  ASSERT_EQ(h.LessonSlotCount(), 3);
  EXPECT_EQ(h.GetLesson(0), nullptr);
  auto tree = h.GetLesson(1)->GetPear(1);
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->Word1, "tree");
  EXPECT_EQ(tree->WavFile2, "\\LangFiles\\Eng_Ger\\baum.wav");
  EXPECT_TRUE(tree->InUse && tree->Drawn);
  auto red = h.GetLesson(2)->GetPear(0);
  EXPECT_FALSE(red->InUse);
  EXPECT_EQ(red->WavFile2, " ");
  EXPECT_EQ(h.CurLessonNbr, -1);

  ASSERT_TRUE(h.SaveLangFile(Path("copy.lang")));
  EXPECT_EQ(ReadFileBytes(Path("copy.lang")), ReadFileBytes(original));
  TLangFHandler again;
  ASSERT_TRUE(again.LoadLangFile(Path("copy.lang")));
  EXPECT_EQ(Summary(again), Summary(h));
  ASSERT_TRUE(again.SaveLangFile(Path("copy2.lang")));
  EXPECT_EQ(ReadFileBytes(Path("copy2.lang")), ReadFileBytes(original));
}

// Each case: the lines of a file and what the handler holds after reading it.
TEST(LangFHandlerReader, FollowsTheStateTable) {
  struct Case {
    const char* what;
    Lines lines;
    std::string held;
  };
  const Case cases[] = {
      {"lines before [General] are ignored, lesson sections included",
       {"junk", "[1]", "0=a@b# @ *", "[General]", "E@G", "[2]", "0=c@d# @ "},
       "E|G|[2] 0=c@d# @ "},
      {"no [General] at all", {"[1]", "0=a@b# @ *"}, "|"},
      {"the last names line wins", {"[General]", "A@B", "C@D", "[1]", "0=a@b# @ *"}, "C|D|[1] 0=a@b# @ *"},
      {"a names line without @", {"[General]", "English"}, "|English"},
      {"the second name may hold @", {"[General]", "A@B@C"}, "A|B@C"},
      {"an empty names line empties both names", {"[General]", "A@B", ""}, "|"},
      {"a second [General] only renames",
       {"[General]", "A@B", "[1]", "0=a@b# @ *", "[General]", "C@D", "[2]", "0=e@f# @ *"},
       "C|D|[1] 0=a@b# @ *|[2] 0=e@f# @ *"},
      {"the lesson before a second [General] is stored at the end",
       {"[General]", "A@B", "[1]", "0=a@b# @ *", "[General]", "C@D"},
       "C|D|[1] 0=a@b# @ *"},
      {"a negative lesson is read, never stored",
       {"[General]", "A@B", "[-3]", "0=a@b# @ *", "[4]", "0=c@d# @ "},
       "A|B|[4] 0=c@d# @ "},
      {"a later lesson of the same number replaces the earlier",
       {"[General]", "A@B", "[1]", "0=a@b# @ *", "1=x@y# @ *", "[1]", "0=c@d# @ "},
       "A|B|[1] 0=c@d# @ "},
      {"a later pair of the same number replaces the earlier",
       {"[General]", "A@B", "[1]", "0=a@b# @ *", "0=c@d# @ "},
       "A|B|[1] 0=c@d# @ "},
      {"empty lines in a lesson are skipped, not an empty pair 0",
       {"[General]", "A@B", "[1]", "0=a@b# @ *", "", "1=c@d# @ ", ""},
       "A|B|[1] 0=a@b# @ * 1=c@d# @ "},
      {"a negative pair number is not stored", {"[General]", "A@B", "[1]", "-1=a@b# @ *"}, "A|B|[1]"},
      {"the last character of a header is not inspected", {"[General]", "A@B", "[7x", "0=a@b# @ *"},
       "A|B|[7] 0=a@b# @ *"},
      {"pairs land in the slot of their number",
       {"[General]", "A@B", "[2]", "3=a@b# @ *", "1=c@d# @ "},
       "A|B|[2] 1=c@d# @  3=a@b# @ *"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TLangFHandler h;
    ASSERT_TRUE(h.LoadLangBytes(ContainerOf(c.lines), "x.lang"));
    EXPECT_EQ(Summary(h), c.held);
    EXPECT_EQ(h.CurLessonNbr, -1);
  }
}

TEST(LangFHandlerReader, ClearLessonsKeepsNamesForAFileWithoutNames) {
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangBytes(ContainerOf(kExample), "a.lang"));
  h.ClearLessons();
  EXPECT_EQ(h.LessonSlotCount(), 0);
  ASSERT_TRUE(h.LoadLangBytes(ContainerOf({"[General]", "[5]", "0=a@b# @ *"}), "b.lang"));
  EXPECT_EQ(Summary(h), "English|German|[5] 0=a@b# @ *");
}

TEST(LangFHandlerReader, MalformedNumbersRaiseWithFileLineAndText) {
  // A bad header comes after lesson 2 has begun, so lesson 2 is stored first;
  // a bad pair line loses lesson 2, which is still being read.
  struct Case {
    std::string badLine;
    std::string kept;
  };
  const Case cases[] = {
      {"[x]", "A|B|[1] 0=a@b# @ *|[2] 0=b@b# @ "},
      {"[]", "A|B|[1] 0=a@b# @ *|[2] 0=b@b# @ "},
      {"[", "A|B|[1] 0=a@b# @ *|[2] 0=b@b# @ "},
      {"[ 2]", "A|B|[1] 0=a@b# @ *|[2] 0=b@b# @ "},
      {"[99999999999]", "A|B|[1] 0=a@b# @ *|[2] 0=b@b# @ "},
      {"x=a@b# @ *", "A|B|[1] 0=a@b# @ *"},
      {"a@b# @ *", "A|B|[1] 0=a@b# @ *"},
      {"99999999999=a@b", "A|B|[1] 0=a@b# @ *"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.badLine);
    TLangFHandler h;
    const Lines lines = {"[General]", "A@B", "[1]", "0=a@b# @ *", "[2]", "0=b@b# @ ", c.badLine, "0=c@d# @ *", "[3]"};
    try {
      h.LoadLangBytes(ContainerOf(lines), "broken.lang");
      ADD_FAILURE() << "no error";
    } catch (const TConversionError& e) {
      EXPECT_EQ(e.File(), "broken.lang");
      EXPECT_EQ(e.LineNbr(), 7);
      EXPECT_EQ(e.Line(), c.badLine);
      EXPECT_EQ(e.Describe().rfind("broken.lang, line 7: '", 0), 0u) << e.Describe();
    }
    EXPECT_EQ(Summary(h), c.kept);
    // The next load starts with no current lesson, even without ClearLessons.
    EXPECT_EQ(h.CurLessonNbr, -1);
    ASSERT_TRUE(h.LoadLangBytes(ContainerOf({"[General]", "C@D", "[9]", "0=z@z# @ "}), "next.lang"));
    EXPECT_EQ(Summary(h), "C|D" + c.kept.substr(3) + "|[9] 0=z@z# @ ");
  }
}

// Slots grow to any number a file names: a damaged file must not make the
// reader allocate billions of them.
TEST(LangFHandlerReader, HugeNumbersAreRefusedNotAllocated) {
  struct Case {
    Lines lines;
    bool refused;
    std::string message;
  };
  const std::string maxInt = std::to_string(std::numeric_limits<int32_t>::max());
  std::vector<Case> cases = {
      {{"[General]", "A@B", "[2000000000]", "0=a@b# @ *"}, true, "lesson number 2000000000 is too large for this file"},
      {{"[General]", "A@B", "[" + maxInt + "]"}, true, "lesson number " + maxInt + " is too large"},
      {{"[General]", "A@B", "[1]", "2000000000=a@b# @ *"}, true, "pair number 2000000000 is too large for this file"},
      {{"[General]", "A@B", "[1]", maxInt + "=a@b# @ *"}, true, "pair number " + maxInt + " is too large"},
      // Gaps within the allowance are read as they stand.
      {{"[General]", "A@B", "[100000]", "500000=a@b# @ *"}, false, ""},
      // The allowance is for the whole file, not for each lesson.
      {{"[General]", "A@B", "[1]", "600000=a@b# @ *", "[2]", "600000=c@d# @ *"}, true, "pair number 600000"},
      // A lesson read again claims its slots again.
      {{"[General]", "A@B", "[1]", "600000=a@b# @ *", "[1]", "600000=c@d# @ *"}, true, "pair number 600000"},
      // Lessons that are never stored claim slots too.
      {{"[General]", "A@B", "[-1]", "999000=a@b# @ *", "[-1]", "999000=c@d# @ *"}, true, "pair number 999000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.back());
    TLangFHandler h;
    if (!c.refused) {
      EXPECT_TRUE(h.LoadLangBytes(ContainerOf(c.lines), "hostile.lang"));
      continue;
    }
    try {
      h.LoadLangBytes(ContainerOf(c.lines), "hostile.lang");
      ADD_FAILURE() << "no error";
    } catch (const TConversionError& e) {
      EXPECT_NE(e.Describe().find(c.message), std::string::npos) << e.Describe();
      EXPECT_EQ(e.File(), "hostile.lang");
      EXPECT_LE(h.LessonSlotCount(), 2);
    }
  }
}

TEST_F(LangFHandlerTest, FailedLoadsLeaveTheHandlerAlone) {
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangBytes(ContainerOf(kExample), "a.lang"));
  const std::string before = Summary(h);

  const std::string plain = "[General]\r\nA@B\r\n[1]\r\n0=a@b# @ *\r\n";
  const std::string files[] = {
      Path("missing.lang"),
      Put("empty.lang", {}),
      Put("one.lang", {0xCD}),
      Put("plain.lang", TBytes(plain.begin(), plain.end())),
  };
  for (const std::string& f : files) {
    EXPECT_FALSE(h.LoadLangFile(f)) << f;
    EXPECT_EQ(Summary(h), before);
  }
  // Any single changed byte of a written file.
  const TBytes stored = ContainerOf({"[General]", "A@B", "[3]", "0=x@y# @ *"});
  for (std::size_t pos = 0; pos < stored.size(); ++pos) {
    TBytes damaged = stored;
    damaged[pos] ^= 0x20;
    EXPECT_FALSE(h.LoadLangFile(Put("damaged.lang", damaged))) << pos;
    EXPECT_EQ(Summary(h), before);
  }
}

TEST_F(LangFHandlerTest, WriterRenumbersWithoutMovingAndOrdersLessons) {
  TLangFHandler h;
  h.SetLangNames("English", "German");
  auto three = std::make_shared<TLesson>();
  three->LessonNbr = 3;
  for (int slot : {0, 2, 5}) three->AddPearLine(std::to_string(slot) + "=w" + std::to_string(slot) + "@v# @ *");
  auto one = std::make_shared<TLesson>();
  one->LessonNbr = 1;
  one->AddPearLine("0=a@b# @ ");
  ASSERT_TRUE(h.PutLesson(three));
  ASSERT_TRUE(h.PutLesson(one));
  ASSERT_TRUE(h.SaveLangFile(Path("w.lang")));

  EXPECT_EQ(LinesOf(ReadFileBytes(Path("w.lang"))),
            (Lines{"[General]", "English@German", "[1]", "0=a@b# @ ", "[3]", "0=w0@v# @ *", "1=w2@v# @ *", "2=w5@v# @ *"}));
  EXPECT_EQ(three->GetPear(2)->PearNbr, 1);
  EXPECT_EQ(three->GetPear(5)->PearNbr, 2);
  EXPECT_EQ(three->GetPear(5)->Word1, "w5");
}

TEST_F(LangFHandlerTest, NothingIsWrittenThatWouldNotReadBack) {
  const TBytes old{1, 2, 3};
  struct Case {
    const char* what;
    std::vector<Lines> lessons;  // pair lines per lesson, lesson numbers 1, 2, ...
    std::string lang1 = "A";
    bool written;
  };
  const std::string longest(kMaxContainerLine - std::string("0=@# @ ").size(), 'x');
  const Case cases[] = {
      {"one lesson without pairs: three lines", {{}}, "A", false},
      {"no lessons at all", {}, "A", false},
      {"two empty lessons: four lines", {{}, {}}, "A", true},
      {"a line of 65,533 characters", {{"0=" + longest + "@# @ "}}, "A", true},
      {"a line of 65,534 characters", {{"0=" + longest + "y@# @ "}}, "A", false},
      {"a names line that is too long", {{"0=a@b# @ "}}, std::string(kMaxContainerLine, 'n'), false},
      {"a line end inside a phrase", {{"0=a@b# @ "}}, "Eng\r\nlish", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = Put("keep.lang", old);
    TLangFHandler h;
    h.SetLangNames(c.lang1, "B");
    int32_t nbr = 1;
    for (const Lines& pairs : c.lessons) {
      auto lesson = std::make_shared<TLesson>();
      lesson->LessonNbr = nbr++;
      for (const std::string& p : pairs) lesson->AddPearLine(p);
      h.PutLesson(lesson);
    }
    EXPECT_EQ(h.SaveLangFile(file), c.written);
    if (!c.written) {
      EXPECT_EQ(ReadFileBytes(file), old);
      continue;
    }
    TLangFHandler back;
    ASSERT_TRUE(back.LoadLangFile(file));
    EXPECT_EQ(Summary(back), Summary(h));
  }
}

TEST_F(LangFHandlerTest, PhrasesWithCr1252CharactersAndQuotesRoundTrip) {
  TLangFHandler h;
  h.SetLangNames("Français", "\"Deutsch\"");
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = 100;
  auto p = lesson->NewPear(-1);
  p->Word1 = "l'été € \"quoted\"";
  p->Word2 = "der Sommer äöüß";
  p->WavFile1 = "/home/anna/été.wav";
  p->WavFile2 = " ";
  p->InUse = true;
  h.PutLesson(lesson);
  ASSERT_TRUE(h.SaveLangFile(Path("fr.lang")));
  // A handler not read from a file writes a Windows-1252 file, one byte a character.
  EXPECT_EQ(LinesOf(ReadFileBytes(Path("fr.lang"))),
            (Lines{"[General]", "Fran\xE7" "ais@\"Deutsch\"", "[100]",
                   "0=l'\xE9t\xE9 \x80 \"quoted\"@der Sommer \xE4\xF6\xFC\xDF#/home/anna/\xE9t\xE9.wav@ *"}));
  TLangFHandler back;
  ASSERT_TRUE(back.LoadLangFile(Path("fr.lang")));
  EXPECT_EQ(Summary(back), Summary(h));
  EXPECT_EQ(back.GetLesson(100)->GetPear(0)->Word1, p->Word1);
}

TEST_F(LangFHandlerTest, FailedWriteKeepsTheOldFile) {
  const std::string file = Put("keep.lang", ContainerOf(kExample));
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangFile(file));
  h.GetLesson(2)->GetPear(0)->InUse = true;
  {
    const TSaveCallFailure failing({TSaveCall::Write, ENOSPC});
    TSaveResult result;
    EXPECT_FALSE(h.SaveLangFile(file, &result));
    EXPECT_EQ(result.Fault, TSaveFault::System);
    EXPECT_EQ(result.Reason, "No space left on device");
  }
  EXPECT_EQ(ReadFileBytes(file), ContainerOf(kExample));
  EXPECT_FALSE(h.SaveLangFile(Path("no/such/folder/x.lang")));
}

TEST_F(LangFHandlerTest, LessonsPutDrawnAndDeleted) {
  TLangFHandler h;
  auto negative = std::make_shared<TLesson>();
  negative->LessonNbr = -2;
  EXPECT_FALSE(h.PutLesson(negative));
  EXPECT_FALSE(h.PutLesson(nullptr));
  EXPECT_EQ(h.LessonSlotCount(), 0);
  EXPECT_EQ(h.GetLesson(-1), nullptr);
  EXPECT_EQ(h.GetLesson(7), nullptr);

  ASSERT_TRUE(h.LoadLangBytes(ContainerOf(kExample), "a.lang"));
  h.ClearAllDrawn();
  EXPECT_FALSE(h.GetLesson(1)->GetPear(1)->Drawn);
  EXPECT_TRUE(h.GetLesson(1)->GetPear(1)->InUse);

  // Emptying the handler leaves lessons that others hold alive.
  auto kept = h.GetLesson(1);
  h.ClearLessons();
  EXPECT_EQ(h.GetLesson(1), nullptr);
  EXPECT_EQ(kept->GetPear(0)->Word1, "house");

  const std::string file = Put("gone.lang", ContainerOf(kExample));
  EXPECT_TRUE(h.DeleteLangFile(file));
  EXPECT_FALSE(FileExistsWarn(file));
  EXPECT_FALSE(h.DeleteLangFile(file));
}

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/CodePage.h"
#include "core/Errors.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "StoredImage.h"
#include "storage/LangFileEncoding.h"

namespace {
using Lines = std::vector<std::string>;

class LangFileEncodingTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  std::string Put(const std::string& name, const Lines& lines) const {
    EXPECT_TRUE(WriteFileBytes(Path(name), ContainerOf(lines), true));
    return Path(name);
  }
  QTemporaryDir dir_;
};

struct TScriptCase {
  const char* name;
  std::string lang1, lang2, word1, word2;
};

const TScriptCase kScripts[] = {
    {"Polish", "Polski", "Deutsch", "Źdźbło łąki", "Grashalm"},
    {"Czech", "Čeština", "Deutsch", "Příliš žluťoučký kůň", "zu gelbes Pferd"},
    {"Turkish", "Türkçe", "English", "Işık ğüşiöç", "light"},
    {"Russian", "Русский", "Deutsch", "Ёлка и я", "Tanne und ich"},
    {"Greek", "Ελληνικά", "English", "Σοφία ς", "wisdom"},
    {"Chinese", "中文", "English", "喝茶", "to drink tea"},
    {"Japanese", "日本語", "English", "お茶をください", "tea, please"},
    {"Korean", "한국어", "English", "차 주세요", "tea, please"},
    {"Arabic", "العربية", "English", "شاي من فضلك", "tea, please"},
    {"Hebrew", "עברית", "English", "תה בבקשה", "tea, please"},
    {"Hindi", "हिन्दी", "English", "नमस्ते चाय", "hello tea"},
    {"CombiningAccent", "Français", "English", "e\xCC\x81t\xC3\xA9", "summer"},
    {"OutsideBmp", "Music", "Emoji", "\xF0\x9D\x84\x9E clef", "\xF0\x9F\x8D\xB5 tea"},
    // "ç" ends in the drawn marker's last byte (A7): no marker.
    {"EndsLikeTheMarker", "Français", "Deutsch", "garçon ç", "Junge ç"},
};
}  // namespace

// Any script round-trips through a UTF-8 file, in use and drawn flags too,
// and the file starts with its encoding line.
TEST_F(LangFileEncodingTest, EveryScriptRoundTripsThroughAUtf8File) {
  for (const TScriptCase& c : kScripts) {
    SCOPED_TRACE(c.name);
    TLangFHandler h = NewLangFile();
    h.SetLangNames(c.lang1, c.lang2);
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    for (int i = 0; i < 3; ++i) {
      auto p = lesson->NewPear(-1);
      p->Word1 = c.word1;
      p->Word2 = c.word2;
      p->WavFile1 = "\\LangFiles\\" + c.word1 + ".wav";
      p->WavFile2 = c.word2;  // ends in "ç" for one case: must not read as a marker
      p->InUse = i > 0;
      p->Drawn = i > 1;
    }
    h.PutLesson(lesson);
    const std::string file = Path(std::string(c.name) + ".lang");
    ASSERT_TRUE(h.SaveLangFile(file));
    const Lines lines = LinesOf(ReadFileBytes(file));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], kUtf8EncodingLine);
    EXPECT_EQ(lines[1], "[General]");

    TLangFHandler back;
    ASSERT_TRUE(back.LoadLangFile(file));
    EXPECT_EQ(back.Encoding, TTextEncoding::Utf8);
    EXPECT_FALSE(back.LoadLosses().Any());
    EXPECT_EQ(back.GetLang1Name(), c.lang1);
    EXPECT_EQ(back.GetLang2Name(), c.lang2);
    for (int i = 0; i < 3; ++i) {
      const auto p = back.GetLesson(1)->GetPear(i);
      ASSERT_TRUE(p);
      EXPECT_EQ(p->Word1, c.word1);
      EXPECT_EQ(p->Word2, c.word2);
      EXPECT_EQ(p->WavFile2, c.word2);
      EXPECT_EQ(p->InUse, i > 0);
      EXPECT_EQ(p->Drawn, i > 1);
    }
    // Read and saved again: the same bytes.
    ASSERT_TRUE(back.SaveLangFile(Path("again.lang")));
    EXPECT_EQ(ReadFileBytes(Path("again.lang")), ReadFileBytes(file));
  }
}

// A Windows-1252 file, undefined bytes and all, reads as UTF-8 and is
// written back to the byte while nothing new needs another encoding.
TEST_F(LangFileEncodingTest, LegacyFileKeepsItsBytes) {
  const Lines legacy = {"[General]", "Fran\xE7" "ais@Deutsch", "[1]",
                        "0=l'\xE9t\xE9 \x80@der Sommer \xE4\xF6\xFC\xDF# @ *",
                        "1=odd \x81\x8D\x8F\x90\x9D bytes@x#\\LangFiles\\\xE9t\xE9.wav@ \xA7"};
  const std::string file = Put("legacy.lang", legacy);
  const TBytes before = ReadFileBytes(file);
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangFile(file));
  EXPECT_EQ(h.Encoding, TTextEncoding::Cp1252);
  EXPECT_EQ(h.GetLang1Name(), "Français");
  const auto first = h.GetLesson(1)->GetPear(0);
  EXPECT_EQ(first->Word1, "l'été €");
  EXPECT_EQ(first->Word2, "der Sommer äöüß");
  const auto second = h.GetLesson(1)->GetPear(1);
  EXPECT_EQ(second->WavFile1, "\\LangFiles\\été.wav");
  EXPECT_TRUE(second->Drawn);
  EXPECT_TRUE(h.Storable());
  ASSERT_TRUE(h.SaveLangFile(file));
  EXPECT_EQ(ReadFileBytes(file), before);

  // A character the file cannot hold: refused, the file as it was.
  second->Word2 = "я";
  std::string bad;
  EXPECT_FALSE(h.Storable(&bad));
  EXPECT_EQ(bad, "я");
  TSaveResult result;
  EXPECT_FALSE(h.SaveLangFile(file, &result));
  EXPECT_EQ(result.Fault, TSaveFault::NotStorable);
  EXPECT_NE(result.Reason.find("Windows-1252"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(file), before);

  // Converted: the same texts, now in UTF-8.
  h.Encoding = TTextEncoding::Utf8;
  ASSERT_TRUE(h.SaveLangFile(file));
  EXPECT_EQ(LinesOf(ReadFileBytes(file)),
            (Lines{"Encoding=UTF-8", "[General]", "Français@Deutsch", "[1]", "0=l'été €@der Sommer äöüß# @ *",
                   "1=odd \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D bytes@я#\\LangFiles\\été.wav@ §"}));
}

// Only the first line names the encoding; elsewhere it is a line like any
// other before "[General]" (and a Windows-1252 file's bytes stay as they are).
TEST_F(LangFileEncodingTest, OnlyTheFirstLineNamesTheEncoding) {
  const std::string late = Put("late.lang", {"note", "Encoding=UTF-8", "[General]", "a@b", "[1]", "0=\xE4@b# @ "});
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangFile(late));
  EXPECT_EQ(h.Encoding, TTextEncoding::Cp1252);
  EXPECT_EQ(h.GetLesson(1)->GetPear(0)->Word1, "ä");
  EXPECT_TRUE(h.LoadLosses().Any());

  const std::string first = Put("first.lang", {"Encoding=UTF-8", "[General]", "a@b", "[1]", "0=ä@b# @ "});
  TLangFHandler u;
  ASSERT_TRUE(u.LoadLangFile(first));
  EXPECT_EQ(u.Encoding, TTextEncoding::Utf8);
  EXPECT_EQ(u.GetLesson(1)->GetPear(0)->Word1, "ä");
  EXPECT_FALSE(u.LoadLosses().Any());
}

// Messages about a line are UTF-8 whatever the file's encoding, and a long
// line is shortened between characters.
TEST_F(LangFileEncodingTest, ErrorsShowTheLineInUtf8) {
  struct TCase {
    const char* name;
    Lines lines;
    std::string shown;
  };
  const std::string longRussian = std::string(1, 'x') + [] {
    std::string s;
    for (int i = 0; i < 100; ++i) s += "я";
    return s;
  }();
  const TCase cases[] = {
      {"legacy", {"[General]", "a@b", "[1]", "x\xE4=a@b# @ "}, "x\xC3\xA4=a@b# @ "},
      {"utf8", {"Encoding=UTF-8", "[General]", "a@b", "[1]", longRussian + "=a@b"}, longRussian + "=a@b"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLangFHandler h;
    try {
      h.LoadLangBytes(ContainerOf(c.lines), "bad.lang");
      ADD_FAILURE() << "no error";
    } catch (const TConversionError& e) {
      EXPECT_EQ(e.Line(), c.shown);
      EXPECT_TRUE(IsValidUtf8(e.Describe())) << e.Describe();
      EXPECT_TRUE(IsValidUtf8(e.what())) << e.what();
    }
  }
}

// The locales line stands before "[General]" (after the encoding line),
// reads back as written, and is no loss; a malformed one is left out like
// any other line before "[General]".
TEST_F(LangFileEncodingTest, LocalesLineReadsAndWritesBack) {
  const Lines utf8 = {"Encoding=UTF-8", "Locales=de@ru", "[General]", "Deutsch@Русский", "[1]", "0=Tee@чай# @ *"};
  const std::string file = Put("de_ru.lang", utf8);
  TLangFHandler h;
  ASSERT_TRUE(h.LoadLangFile(file));
  EXPECT_EQ(h.Lang1Locale, "de");
  EXPECT_EQ(h.Lang2Locale, "ru");
  EXPECT_FALSE(h.LoadLosses().Any());
  ASSERT_TRUE(h.SaveLangFile(file));
  EXPECT_EQ(LinesOf(ReadFileBytes(file)), utf8);

  // A Windows-1252 file gets the line when a locale is set, in ASCII.
  const std::string legacy = Put("legacy.lang", {"[General]", "English@Deutsch", "[1]", "0=tea@Tee# @ *"});
  TLangFHandler l;
  ASSERT_TRUE(l.LoadLangFile(legacy));
  EXPECT_TRUE(l.Lang1Locale.empty());
  l.Lang1Locale = "en";
  l.Lang2Locale = "de";
  ASSERT_TRUE(l.SaveLangFile(legacy));
  EXPECT_EQ(LinesOf(ReadFileBytes(legacy)),
            (Lines{"Locales=en@de", "[General]", "English@Deutsch", "[1]", "0=tea@Tee# @ *"}));
  TLangFHandler again;
  ASSERT_TRUE(again.LoadLangFile(legacy));
  EXPECT_EQ(again.Encoding, TTextEncoding::Cp1252);
  EXPECT_EQ(again.Lang2Locale, "de");

  for (const char* bad : {"Locales=de", "Locales=d e@ru", "Locales=de@ru@x"}) {
    SCOPED_TRACE(bad);
    TLangFHandler b;
    ASSERT_TRUE(b.LoadLangBytes(ContainerOf({bad, "[General]", "a@b", "[1]", "0=a@b# @ "}), "bad.lang"));
    EXPECT_TRUE(b.Lang1Locale.empty());
    EXPECT_TRUE(b.LoadLosses().Any());
  }
}

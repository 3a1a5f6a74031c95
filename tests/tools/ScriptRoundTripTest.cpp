// Phrases of every script through the tool and the handler: a table in, the
// same table out; a file dumped and packed, or loaded and saved, to the same
// bytes. Older Windows-1252 files keep theirs.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>
#include <string_view>

#include "LangCommands.h"
#include "core/CodePage.h"
#include "core/Word_Pear.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

namespace {

struct TRun {
  int status = -1;
  std::string out;
  std::string err;
};

TRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  TRun run;
  run.status = RunLangTool(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

TBytes Bytes(const std::string& text) { return TBytes(text.begin(), text.end()); }

struct TScriptCase {
  const char* name;
  std::string word1;
  std::string word2;
};

void PrintTo(const TScriptCase& c, std::ostream* os) { *os << c.name; }

std::string Repeated(std::string_view text, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

// German on one side, as most of our learners have it. Greek capital chi
// (CE A7) and c with cedilla (C3 A7) end in the second byte of the drawn
// marker "§" (C2 A7); the phrases end sound names too, where the marker
// follows.
const TScriptCase kScripts[] = {
    {"Polish", "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84", "Sch\xC3\xA4m dich"},
    {"Czech", "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88", "zu gelbes Pferd"},
    {"Turkish", "I\xC5\x9F\xC4\xB1k a\xC4\x9F\x61\xC3\xA7 \xC4\xB0stanbul", "Licht Baum Istanbul"},
    {"Russian", "\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB6\xD0\xB5 \xD0\xB5\xD1\x89\xD1\x91", "Iss doch noch"},
    {"Greek", "\xCE\xA7\xCE\xB1\xCE\xAF\xCF\x81\xCE\xB5\xCF\x84\xCE\xB5 \xCE\xA7", "Sei gegr\xC3\xBC\xC3\x9Ft"},
    {"Chinese", "\xE6\x88\x91\xE5\x96\x9C\xE6\xAC\xA2\xE5\x96\x9D\xE8\x8C\xB6", "Ich trinke gern Tee"},
    {"Japanese", "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF\xE3\x80\x81\xE4\xB8\x96\xE7\x95\x8C", "Hallo, Welt"},
    {"Korean", "\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94", "Guten Tag"},
    {"Arabic", "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85", "Hallo Welt"},
    {"Hebrew", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D", "Friede der Welt"},
    {"Hindi", "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87", "Guten Tag"},
    {"CombiningAccent", "e\xCC\x81" "cole caf" "e\xCC\x81", "Schule Caf\xC3\xA9"},
    {"OutsideTheBmp", "\xF0\x9F\x98\x80 \xF0\x9D\x84\x9E \xF0\x9F\x8E\xBB", "L\xC3\xA4" "cheln Notenschl\xC3\xBCssel Geige"},
    {"CedillaBeforeTheMarker", "gar\xC3\xA7on \xC3\xA7", "Kellner \xCE\xA7"},
    {"PhraseOfFiftyCharacters", Repeated("\xD1\x8F", 50), "ja"},
    {"FiftyCharactersOutsideTheBmp", Repeated("\xF0\x9F\x98\x80", 50), "Lachen"},
};

// The table export writes, so that export gives it back byte for byte:
// drawn, in use, and not in use, each phrase also ending a sound name.
std::string ExportForm(const TScriptCase& c) {
  return "lesson\tpair\tuse\tdrawn\tword1\tword2\twav1\twav2\n"
         "1\t0\t1\t1\t" + c.word1 + "\t" + c.word2 + "\t\t\n"
         "1\t1\t1\t0\t" + c.word1 + "\t" + c.word2 + "\t" + c.word2 + ".wav\t\\LangFiles\\" + c.word1 + "\n"
         "2\t0\t0\t0\t" + c.word2 + "\t" + c.word1 + "\t\t" + c.word1 + "\n";
}

class ScriptRoundTripTest : public testing::TestWithParam<TScriptCase> {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

  // The case's table imported as a new (UTF-8) file.
  std::string Imported() const {
    const std::string table = Path("table.tsv");
    EXPECT_TRUE(WriteFileBytes(table, Bytes(ExportForm(GetParam())), true));
    const std::string file = Path("imported.lang");
    const TRun run = RunTool({"import", table, "--tsv", file, "--lang1", "Deutsch", "--lang2", "Zweite"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    return file;
  }

  QTemporaryDir dir_;
};

TEST_P(ScriptRoundTripTest, ImportThenExportGivesTheSameTable) {
  const TRun exported = RunTool({"export", Imported()});
  ASSERT_EQ(exported.status, kExitOk) << exported.err;
  EXPECT_EQ(exported.out, ExportForm(GetParam()));
  const TRun info = RunTool({"info", Path("imported.lang")});
  EXPECT_NE(info.out.find("Encoding:   UTF-8\n"), std::string::npos) << info.out;
  // One pair drawn: a character ending in A7 before the end is no marker.
  EXPECT_NE(info.out.find(" total       3       2       1\n"), std::string::npos) << info.out;
}

TEST_P(ScriptRoundTripTest, ImportThenDumpThenPackGivesTheSameBytes) {
  const std::string file = Imported();
  const TRun dumped = RunTool({"dump", file});
  ASSERT_EQ(dumped.status, kExitOk) << dumped.err;
  EXPECT_EQ(dumped.out.rfind("Encoding=UTF-8\n[General]\nDeutsch@Zweite\n[1]\n0=" + GetParam().word1 + "@", 0), 0u)
      << dumped.out;
  const std::string lines = Path("lines.txt");
  ASSERT_TRUE(WriteFileBytes(lines, Bytes(dumped.out), true));
  const std::string packed = Path("packed.lang");
  const TRun pack = RunTool({"pack", lines, packed});
  ASSERT_EQ(pack.status, kExitOk) << pack.err;
  EXPECT_EQ(ReadFileBytes(packed), ReadFileBytes(file));
}

TEST_P(ScriptRoundTripTest, LoadThenSaveGivesTheSameBytesAndTexts) {
  const std::string file = Imported();
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(file));
  EXPECT_EQ(handler.Encoding, TTextEncoding::Utf8);
  const auto drawn = handler.GetLesson(1)->GetPear(0);
  const auto inUse = handler.GetLesson(1)->GetPear(1);
  const auto unused = handler.GetLesson(2)->GetPear(0);
  EXPECT_EQ(drawn->Word1, GetParam().word1);
  EXPECT_EQ(drawn->Word2, GetParam().word2);
  EXPECT_TRUE(drawn->InUse && drawn->Drawn);
  EXPECT_EQ(inUse->WavFile2, "\\LangFiles\\" + GetParam().word1);
  EXPECT_TRUE(inUse->InUse && !inUse->Drawn);
  EXPECT_EQ(unused->WavFile2, GetParam().word1);
  EXPECT_FALSE(unused->InUse || unused->Drawn);

  const std::string saved = Path("saved.lang");
  ASSERT_TRUE(handler.SaveLangFile(saved));
  EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(file));
}

// The older file refuses what it has no byte for, row by row; nothing is written.
TEST_P(ScriptRoundTripTest, Windows1252ImportTakesOnlyWhatItCanHold) {
  const std::string table = Path("table.tsv");
  ASSERT_TRUE(WriteFileBytes(table, Bytes(ExportForm(GetParam())), true));
  const std::string file = Path("legacy.lang");
  const TRun run = RunTool({"import", table, "--tsv", file, "--lang1", "Deutsch", "--lang2", "Zweite", "--encoding",
                            "windows-1252"});
  std::string bytes;
  if (Utf8ToCp1252(ExportForm(GetParam()), bytes)) {
    EXPECT_EQ(run.status, kExitOk) << run.err;
  } else {
    EXPECT_EQ(run.status, kExitRejected);
    EXPECT_NE(run.err.find("table.tsv, row 2: word"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("which Windows-1252 cannot hold"), std::string::npos) << run.err;
    EXPECT_FALSE(FileExistsWarn(file));
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptRoundTripTest, testing::ValuesIn(kScripts),
                         [](const testing::TestParamInfo<TScriptCase>& info) { return info.param.name; });

// "§" inside a phrase, between letters whose bytes end in A7 too, is the
// marker's character and is refused; those letters alone are not.
TEST(ScriptSeparatorTest, SectionSignInsideAPhraseIsRefusedAsTheMarker) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string table = dir.filePath("t.csv").toStdString();
  const std::string file = dir.filePath("o.lang").toStdString();
  ASSERT_TRUE(WriteFileBytes(table, Bytes("lesson,word1,word2,wav2\n1,\xC3\xA7,\xCE\xA7\xC2\xA7\xC3\xA7,\n"), true));
  const TRun run = RunTool({"import", table, "--csv", file, "--lang1", "Deutsch", "--lang2", "Zweite"});
  EXPECT_EQ(run.status, kExitRejected);
  EXPECT_NE(run.err.find("row 2: word2 contains \"\xC2\xA7\", which separates or marks the fields"), std::string::npos)
      << run.err;
  EXPECT_FALSE(FileExistsWarn(file));
}

// A pair line whose last field ends in a character with an A7 byte reads
// back as not drawn; only the whole marker counts.
TEST(ScriptSeparatorTest, ContinuationByteA7IsNeverTheDrawnMarker) {
  for (const std::string ending : {"\xC3\xA7", "\xCE\xA7", "\xE0\xA4\xA7", "\xF0\x9F\x9E\xA7"}) {
    const TWordPear unused("0=a@b# @x" + ending);
    EXPECT_FALSE(unused.InUse || unused.Drawn) << ending;
    EXPECT_EQ(unused.WavFile2, "x" + ending);
    const TWordPear inUse("0=a@b# @x" + ending + "*");
    EXPECT_TRUE(inUse.InUse && !inUse.Drawn) << ending;
    EXPECT_EQ(inUse.WavFile2, "x" + ending);
    const TWordPear drawn("0=a@b# @x" + ending + "\xC2\xA7");
    EXPECT_TRUE(drawn.InUse && drawn.Drawn) << ending;
    EXPECT_EQ(drawn.WavFile2, "x" + ending);
  }
}

// Every byte of an older file's texts, 0x80 to 0xFF: read and saved without
// a new character, dumped and packed, the file keeps its bytes.
TEST(LegacyRoundTripTest, Windows1252FileKeepsItsBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TStrVector lines;
  for (const char* line : {"[General]", "Fran\xE7" "ais@Deutsch \x80"}) lines.Add(line);
  lines.Add("[1]");
  for (int pair = 0; pair < 4; ++pair) {
    std::string word;
    for (int byte = 0x80 + pair * 32; byte < 0x80 + (pair + 1) * 32; ++byte)
      if (byte != 0xA7) word += static_cast<char>(byte);
    const char* const markers[] = {"", "*", "\xA7", "*"};
    lines.Add(std::to_string(pair) + "=" + word + "@Wort " + std::to_string(pair) + "# @ \xE7" + markers[pair]);
  }
  const TBytes original = StringsToContainer(lines);
  const std::string file = dir.filePath("legacy.lang").toStdString();
  ASSERT_TRUE(WriteFileBytes(file, original, true));

  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(file));
  EXPECT_EQ(handler.Encoding, TTextEncoding::Cp1252);
  EXPECT_EQ(handler.GetLang1Name(), "Fran\xC3\xA7" "ais");
  EXPECT_TRUE(handler.GetLesson(1)->GetPear(2)->Drawn);
  EXPECT_FALSE(handler.GetLesson(1)->GetPear(0)->InUse);
  const std::string saved = dir.filePath("saved.lang").toStdString();
  ASSERT_TRUE(handler.SaveLangFile(saved));
  EXPECT_EQ(ReadFileBytes(saved), original);

  const TRun dumped = RunTool({"dump", file});
  ASSERT_EQ(dumped.status, kExitOk) << dumped.err;
  EXPECT_EQ(dumped.out.rfind("[General]\nFran\xC3\xA7" "ais@Deutsch \xE2\x82\xAC\n[1]\n", 0), 0u) << dumped.out;
  const std::string text = dir.filePath("lines.txt").toStdString();
  ASSERT_TRUE(WriteFileBytes(text, Bytes(dumped.out), true));
  const std::string packed = dir.filePath("packed.lang").toStdString();
  ASSERT_EQ(RunTool({"pack", text, packed}).status, kExitOk);
  EXPECT_EQ(ReadFileBytes(packed), original);
}

// An import that asks for an older file writes the bytes import always
// wrote: the lines in Windows-1252, no encoding line.
TEST(LegacyRoundTripTest, Windows1252ImportOfGermanKeepsItsBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string table = dir.filePath("t.tsv").toStdString();
  ASSERT_TRUE(WriteFileBytes(table,
                             Bytes("lesson\tuse\tdrawn\tword1\tword2\twav2\n"
                                   "1\t1\t1\tStra\xC3\x9F" "e\tstreet\t\\LangFiles\\Ger_Eng\\stra\xC3\x9F" "e.wav\n"
                                   "1\t1\t0\tgr\xC3\xBCn \xE2\x82\xAC\tgreen\t\n"
                                   "2\t0\t0\t\xC3\x96l \xC3\xA4 \xC3\xB6 \xC3\xBC\toil\t\n"),
                             true));
  const std::string file = dir.filePath("o.lang").toStdString();
  const TRun run = RunTool({"import", table, "--tsv", file, "--lang1", "Deutsch", "--lang2", "English", "--encoding",
                            "windows-1252"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  TStrVector lines;
  for (const char* line : {"[General]", "Deutsch@English", "[1]",
                           "0=Stra\xDF" "e@street# @\\LangFiles\\Ger_Eng\\stra\xDF" "e.wav\xA7",
                           "1=gr\xFCn \x80@green# @ *", "[2]", "0=\xD6l \xE4 \xF6 \xFC@oil# @ "})
    lines.Add(line);
  EXPECT_EQ(ReadFileBytes(file), StringsToContainer(lines));
  EXPECT_NE(RunTool({"info", file}).out.find("Encoding:   Windows-1252\n"), std::string::npos);
}

}  // namespace

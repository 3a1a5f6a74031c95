// quillmere-lang import of KVTML and Anki files, and export --kvtml.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "LangCommands.h"
#include "SaveCallFault.h"
#include "ScratchMount.h"
#include "ToolRun.h"
#include "storage/FileUtil.h"

namespace fs = std::filesystem;

namespace {

// Two lessons (the second not in practice, the first with a deactivated
// entry and an inner lesson), an entry in no lesson, a sound that exists and
// one that does not, and details a language file cannot hold.
const char* const kWordList = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
 <identifiers>
  <identifier id="0"><name>English</name><locale>en</locale></identifier>
  <identifier id="1"><name>Deutsch</name><locale>de</locale></identifier>
 </identifiers>
 <entries>
  <entry id="0"><translation id="0"><text>house</text><sound>sounds/house.wav</sound></translation>
   <translation id="1"><text>Haus</text><sound>file:///no/such/haus.wav</sound><grade><count>2</count></grade></translation></entry>
  <entry id="1"><translation id="0"><text>street</text></translation><translation id="1"><text>Straße</text></translation></entry>
  <entry id="2"><deactivated>true</deactivated>
   <translation id="0"><text>old</text></translation><translation id="1"><text>alt</text></translation></entry>
  <entry id="3"><translation id="0"><text>red</text></translation><translation id="1"><text>rot</text></translation></entry>
  <entry id="4"><translation id="0"><text>loose</text></translation><translation id="1"><text>lose</text></translation></entry>
 </entries>
 <lessons>
  <container><name>Home</name><inpractice>true</inpractice><entry id="0"/><entry id="2"/>
   <container><name>Outside</name><entry id="1"/></container></container>
  <container><name>Colours</name><inpractice>false</inpractice><entry id="3"/></container>
 </lessons>
</kvtml>
)";

class ForeignImportTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  std::string Write(const std::string& name, const std::string& text) const {
    const std::string path = Path(name);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string Dump(const std::string& lang) const {
    const TRun run = RunTool({"dump", lang});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    return run.out;
  }

  QTemporaryDir dir_;
};

TEST_F(ForeignImportTest, KvtmlBecomesLessonsAndSaysWhatWasLeftOut) {
  Write("sounds/house.wav", "RIFF");
  const std::string list = Write("words.kvtml", kWordList);
  const TRun run = RunTool({"import", list, Path("words.lang")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Wrote " + Path("words.lang") +
                         ": 3 lessons, 5 pairs.\n"
                         "  lesson 1: Home\n"
                         "  lesson 2: Colours\n"
                         "  lesson 3: (entries in no lesson)\n"
                         "Not kept: 1 grade, 1 sound not found.\n");
  EXPECT_EQ(Dump(Path("words.lang")),
            "Encoding=UTF-8\nLocales=en@de\n[General]\nEnglish@Deutsch\n"
            "[1]\n0=house@Haus#sounds/house.wav@ *\n1=old@alt# @ \n2=street@Straße# @ *\n"
            "[2]\n0=red@rot# @ \n"
            "[3]\n0=loose@lose# @ *\n");
}

// Import, export and import again give the same pairs and lessons, sounds,
// pairs not in use beside pairs in use, and names included.
TEST_F(ForeignImportTest, KvtmlRoundTripKeepsPairsAndLessons) {
  Write("sounds/house.wav", "RIFF");
  const std::string list = Write("words.kvtml", kWordList);
  ASSERT_EQ(RunTool({"import", list, Path("first.lang")}).status, kExitOk);
  const TRun exported = RunTool({"export", Path("first.lang"), "--kvtml"});
  ASSERT_EQ(exported.status, kExitOk) << exported.err;
  EXPECT_NE(exported.out.find("<kvtml version=\"2.0\">"), std::string::npos);
  EXPECT_NE(exported.out.find("<sound>file://" + Path("sounds/house.wav") + "</sound>"), std::string::npos);
  const std::string again = Write("again.kvtml", exported.out);
  const TRun reimported = RunTool({"import", again, Path("second.lang")});
  ASSERT_EQ(reimported.status, kExitOk) << reimported.err;
  EXPECT_EQ(reimported.out.find("Not kept"), std::string::npos) << reimported.out;
  EXPECT_EQ(Dump(Path("second.lang")), Dump(Path("first.lang")));
}

TEST_F(ForeignImportTest, KvtmlLanguagesChosenAndNamed) {
  const std::string three = Write("three.kvtml", R"(<kvtml version="2.0"><identifiers>
  <identifier id="0"><name>English</name></identifier><identifier id="1"><locale>fr</locale></identifier>
  <identifier id="2"><name>Español</name></identifier></identifiers>
 <entries><entry id="0"><translation id="0"><text>dog</text></translation>
   <translation id="1"><text>chien</text></translation><translation id="2"><text>perro</text></translation></entry>
 </entries></kvtml>)");
  struct TCase {
    std::vector<std::string> options;
    int status;
    const char* names;  // the names line, or a piece of the message
  };
  const TCase cases[] = {
      {{"--lang2-id", "2"}, kExitOk, "English@Español"},
      {{"--lang1-id", "2", "--lang2-id", "0", "--lang1", "Spanish"}, kExitOk, "Spanish@English"},
      {{}, kExitRejected, "the file's language name \"fr\" is shorter than the 3 characters"},
      {{"--lang2", "French"}, kExitOk, "English@French"},
      {{"--lang2-id", "7"}, kExitRejected, "no language with the identifier 7"},
      {{"--lang2-id", "x"}, kExitRejected, "--lang2-id x: not a number"},
      {{"--lesson", "2"}, kExitRejected, "--lesson is for --anki files"},
  };
  int n = 0;
  for (const TCase& c : cases) {
    const std::string out = Path("o" + std::to_string(n++) + ".lang");
    std::vector<std::string> args = {"import", three, out};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const TRun run = RunTool(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (c.status == kExitOk) {
      EXPECT_NE(Dump(out).find(std::string("\n") + c.names + "\n"), std::string::npos);
    } else {
      EXPECT_NE(run.err.find(c.names), std::string::npos) << run.err;
      EXPECT_FALSE(fs::exists(out));
    }
  }
  // Any name with --kvtml.
  const std::string renamed = Write("words.xml", kWordList);
  EXPECT_EQ(RunTool({"import", renamed, "--kvtml", Path("x.lang")}).status, kExitOk);
  EXPECT_EQ(RunTool({"import", renamed, Path("y.lang"), "--lang1", "Aaa", "--lang2", "Bbb"}).status, kExitRejected);
}

// A text of 100 MB is refused after reading about 1 MB of it, with a
// message, and nothing is written.
TEST_F(ForeignImportTest, HugeKvtmlTextIsRefusedWithBoundedMemory) {
  const std::string huge = Path("huge.kvtml");
  {
    std::ofstream out(huge, std::ios::binary);
    out << "<kvtml version=\"2.0\"><entries><entry id=\"0\"><translation id=\"0\"><text>";
    const std::string block(1 << 20, 'a');
    for (int i = 0; i < 100; ++i) out << block;
    out << "</text></translation></entry></entries></kvtml>";
  }
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const TRun run = RunTool({"import", huge, Path("huge.lang")});
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(run.status, kExitRejected);
  EXPECT_NE(run.err.find("huge.kvtml, line 1: a text, tag or comment longer than 1 MB"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("nothing was written"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("huge.lang")));
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024) << "kilobytes more at the peak";
}

TEST_F(ForeignImportTest, AnkiNotesWithDecksAndSoundsBesideTheExport) {
  Write("export/bread.wav", "RIFF");
  const std::string notes = Write("export/notes.txt",
                                  "#separator:tab\n#html:true\n#notetype column:1\n#deck column:2\n#tags column:5\n"
                                  "Basic\tFood\t<b>Brot</b>\tbread [sound:bread.wav]\tnoun\n"
                                  "Basic\tHome\tHaus<br>Gebäude\t\"house &amp; \"\"home\"\"\"\t\n"
                                  "Basic\tFood\tKäse\tcheese [sound:gone.mp3]\t\n");
  const std::string out = Path("export/notes.lang");
  const TRun run = RunTool({"import", notes, "--anki", out, "--lang1", "Deutsch", "--lang2", "English", "--lesson", "5"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Wrote " + out +
                         ": 2 lessons, 3 pairs.\n  lesson 5: Food\n  lesson 6: Home\n"
                         "Not kept: 1 note's tags, 1 sound not found beside the export.\n");
  EXPECT_EQ(Dump(out), "Encoding=UTF-8\n[General]\nDeutsch@English\n"
                       "[5]\n0=Brot@bread# @bread.wav*\n1=Käse@cheese# @ *\n"
                       "[6]\n0=Haus Gebäude@house & \"home\"# @ *\n");
}

TEST_F(ForeignImportTest, AnkiUsageAndRefusals) {
  const std::string notes = Write("notes.txt", "Hund\tdog\n");
  const std::string wide = Write("wide.txt", "Hund\tdog\n" + std::string(60, 'x') + "\tlong\n");
  struct TCase {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const TCase cases[] = {
      {{"import", notes, "--anki", Path("a.lang"), "--lang1", "Deutsch"}, kExitRejected, "the option --lang2 NAME is missing"},
      {{"import", notes, "--anki", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English", "--lesson", "0"},
       kExitRejected, "--lesson 0: not a lesson number from 1 to 99999"},
      {{"import", notes, "--anki", "--kvtml", Path("a.lang")}, kExitRejected, "give one format"},
      {{"import", notes, "--anki", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English", "--lang1-id", "1"},
       kExitRejected, "--lang1-id is for --kvtml files"},
      {{"import", notes, "--csv", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English", "--skip-unfit"},
       kExitRejected, "--skip-unfit is for --kvtml or --anki files"},
      {{"import", wide, "--anki", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English"}, kExitRejected,
       "give --skip-unfit to leave out the pairs"},
      {{"import", Path("none.txt"), "--anki", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English"}, kExitFileError,
       "no such file"},
  };
  for (const TCase& c : cases) {
    const TRun run = RunTool(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Path("a.lang")));
  }
  const TRun skipped =
      RunTool({"import", wide, "--anki", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English", "--skip-unfit"});
  EXPECT_EQ(skipped.status, kExitOk) << skipped.err;
  EXPECT_NE(skipped.out.find("Not kept: 1 pair a language file cannot hold."), std::string::npos) << skipped.out;
  // An existing file is replaced only with --force.
  const TRun again = RunTool({"import", notes, "--anki", Path("a.lang"), "--lang1", "Deutsch", "--lang2", "English"});
  EXPECT_EQ(again.status, kExitRejected);
  EXPECT_NE(again.err.find("the file exists; give --force"), std::string::npos) << again.err;
}

// A failing write of the new file, at the system call and on a full disk:
// the message names the reason, and no file or temporary file is left.
TEST_F(ForeignImportTest, FailedWriteLeavesNothing) {
  const std::string list = Write("words.kvtml", kWordList);
  const std::string notes = Write("notes.txt", "Hund\tdog\n");
  for (const TSaveCallFault& fault : {TSaveCallFault{TSaveCall::Write, ENOSPC}, TSaveCallFault{TSaveCall::Fdatasync, EIO}}) {
    const std::string out = Path("o.lang");
    TRun kvtml, anki;
    {
      const TSaveCallFailure failing(fault);
      kvtml = RunTool({"import", list, out});
      anki = RunTool({"import", notes, "--anki", out, "--lang1", "Deutsch", "--lang2", "English"});
    }
    for (const TRun& run : {kvtml, anki}) {
      EXPECT_EQ(run.status, kExitFileError) << run.err;
      EXPECT_NE(run.err.find(out + ": cannot be written: " + std::strerror(fault.Error)), std::string::npos) << run.err;
      EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(out));
  }

  TScratchMount disk("size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here (needs root)";
  ASSERT_TRUE(disk.Fill("filler"));
  const std::string out = (disk.Path() / "words.lang").native();
  const TRun run = RunTool({"import", list, out});
  EXPECT_EQ(run.status, kExitFileError);
  EXPECT_NE(run.err.find(out + ": cannot be written: No space left on device"), std::string::npos) << run.err;
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(disk.Path())) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"filler"});
}

}  // namespace

// quillmere-lang convert: legacy language files of each Windows code page
// become UTF-8 files; the old bytes stay beside them, and any refusal or
// failed write leaves the folder as it was.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "LangCommands.h"
#include "SaveCallFault.h"
#include "ScratchMount.h"
#include "StoredImage.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/PathLock.h"

namespace fs = std::filesystem;

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

// A stored language file of raw lines, each ended by CR LF as the writer does.
TBytes LegacyFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return StoredImage(text);
}

std::vector<std::string> ContainerLines(const TBytes& bytes) {
  TStrVector lines;
  if (!ContainerToStrings(bytes, lines)) return {"(damaged)"};
  return lines.Items();
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ConvertCommandTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  fs::path Dir() const { return dir_.path().toStdString(); }
  std::string Write(const std::string& name, const TBytes& bytes) const {
    const std::string path = Path(name);
    EXPECT_TRUE(WriteFileBytes(path, bytes, true));
    return path;
  }
  QTemporaryDir dir_;
};

struct TConvertCase {
  const char* name;
  std::vector<std::string> from;  // the --from option as given, empty for the default
  std::vector<std::string> legacy;
  std::vector<std::string> utf8;
  const char* backupSuffix;
};

TEST_F(ConvertCommandTest, ConvertsTheLinesOfEachCodePageToUtf8) {
  const TConvertCase cases[] = {
      {"Polish",
       {"--from", "windows-1250"},
       {"[General]", "Polski@Deutsch", "[1]", "0=\xB3\xF3\x64\x9F@Boot# @ \xA7", "1=\x9C\x77i\xEAty@heilig# @ *",
        "2=\xBF\xF3\xB3w@Schildkr\xF6te#\\LangFiles\\Pol\\zolw.wav@ *"},
       {"[General]", "Polski@Deutsch", "[1]", "0=łódź@Boot# @ §", "1=święty@heilig# @ *",
        "2=żółw@Schildkröte#\\LangFiles\\Pol\\zolw.wav@ *"},
       ".windows-1250.bak"},
      {"Czech",
       {"--from=cp1250"},
       {"[General]", "\xC8\x65\x9Atina@English", "[3]", "0=\xE8\x61j@tea# @ *"},
       {"[General]", "Čeština@English", "[3]", "0=čaj@tea# @ *"},
       ".windows-1250.bak"},
      {"Russian",
       {"--from", "windows-1251"},
       {"[General]", "\xD0\xF3\xF1\xF1\xEA\xE8\xE9@Deutsch", "[1]", "0=\xFF\xE1\xEB\xEE\xEA\xEE@Apfel# @ \xA7"},
       {"[General]", "Русский@Deutsch", "[1]", "0=яблоко@Apfel# @ §"},
       ".windows-1251.bak"},
      {"Greek",
       {"--from", "1253"},
       {"[General]", "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDC@English", "[2]", "0=\xEB\xDD\xEE\xE7@word# @ \xA7"},
       {"[General]", "Ελληνικά@English", "[2]", "0=λέξη@word# @ §"},
       ".windows-1253.bak"},
      {"Turkish",
       {"--from", "CP1254"},
       {"[General]", "T\xFCrk\xE7\x65@English", "[1]", "0=\xFE\x65\x66tal\xFD @peach# @ *",
        "1=\xF0\xFD"
        "da@food# @ \xA7"},
       {"[General]", "Türkçe@English", "[1]", "0=şeftalı @peach# @ *", "1=ğıda@food# @ §"},
       ".windows-1254.bak"},
      {"Lithuanian",
       {"--from", "windows-1257"},
       {"[General]", "Lietuvi\xF8@English", "[1]", "0=\xEBl\xEB@chick# @ \xA7"},
       {"[General]", "Lietuvių@English", "[1]", "0=ėlė@chick# @ §"},
       ".windows-1257.bak"},
      {"GermanByDefault",
       {},
       {"[General]", "Deutsch@English", "[1]", "0=\xE4rgerlich@annoying# @ \xA7", "1=\x80@euro# @ *"},
       {"[General]", "Deutsch@English", "[1]", "0=ärgerlich@annoying# @ §", "1=€@euro# @ *"},
       ".windows-1252.bak"},
      // Lines before "[General]" are kept; the encoding line goes before them.
      {"LinesBeforeGeneral",
       {"--from", "windows-1251"},
       {"; \xEF\xF0\xE8\xEC\xE5\xF7\xE0\xED\xE8\xE5", "", "[General]", "A@B"},
       {"; примечание", "", "[General]", "A@B"},
       ".windows-1251.bak"},
  };
  for (const TConvertCase& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const std::string file = dir.filePath("words.lang").toStdString();
    const TBytes old = LegacyFile(c.legacy);
    ASSERT_TRUE(WriteFileBytes(file, old, true));
    std::vector<std::string> args = {"convert", file, "--to", "utf-8"};
    args.insert(args.end(), c.from.begin(), c.from.end());

    const TRun run = RunTool(args);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    std::vector<std::string> expected = {"Encoding=UTF-8"};
    expected.insert(expected.end(), c.utf8.begin(), c.utf8.end());
    EXPECT_EQ(ContainerLines(ReadFileBytes(file)), expected);
    const std::string backup = file + c.backupSuffix;
    EXPECT_EQ(ReadFileBytes(backup), old);
    EXPECT_NE(run.out.find("The old bytes are kept in " + backup + ".\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Names(dir.path().toStdString()),
              (std::vector<std::string>{"words.lang", "words.lang" + std::string(c.backupSuffix)}));
  }
}

TEST_F(ConvertCommandTest, AFileThatIsUtf8AlreadyIsLeftAsItIs) {
  const std::string file = Write("utf8.lang", LegacyFile({"Encoding=UTF-8", "[General]", "Русский@Deutsch"}));
  const TBytes before = ReadFileBytes(file);
  for (const char* from : {"windows-1252", "windows-1251"}) {
    const TRun run = RunTool({"convert", file, "--to", "UTF-8", "--from", from});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, file + " is already UTF-8; nothing was changed.\n");
  }
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(Names(Dir()), (std::vector<std::string>{"utf8.lang"}));
}

// An older Quillmere reads a UTF-8 file and saves it without its encoding
// line. Read in a code page its letters would be garbled for good (each
// becoming two); the command says so and --from utf-8 only puts the line back.
TEST_F(ConvertCommandTest, AUtf8FileThatLostItsLineIsNotGarbled) {
  const std::vector<std::string> utf8 = {"[General]", "Русский@Deutsch", "[1]", "0=яблоко@Apfel# @ §"};
  const TBytes old = LegacyFile(utf8);
  const std::string file = Write("lost.lang", old);
  for (const std::vector<std::string>& from : std::vector<std::vector<std::string>>{{}, {"--from", "windows-1251"}}) {
    std::vector<std::string> args = {"convert", file, "--to", "utf-8"};
    args.insert(args.end(), from.begin(), from.end());
    const TRun run = RunTool(args);
    EXPECT_EQ(run.status, kExitFileError);
    EXPECT_NE(
        run.err.find("lost.lang, line 2: the texts are UTF-8 already, only the line \"Encoding=UTF-8\" is missing"),
        std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("Give --from utf-8 to add the line.\nnothing was changed"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileBytes(file), old);
    EXPECT_EQ(Names(Dir()), (std::vector<std::string>{"lost.lang"}));
  }
  const TRun run = RunTool({"convert", file, "--to", "utf-8", "--from", "utf-8"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  std::vector<std::string> expected = {"Encoding=UTF-8"};
  expected.insert(expected.end(), utf8.begin(), utf8.end());
  EXPECT_EQ(ContainerLines(ReadFileBytes(file)), expected);
  EXPECT_EQ(ReadFileBytes(file + ".utf-8.bak"), old);
}

TEST_F(ConvertCommandTest, FromUtf8RefusesBytesThatAreNotUtf8) {
  const char* const lines[] = {
      "0=\xE4rger@anger# @ *",  // Windows-1252
      "0=a\xC3@b# @ *",         // cut short
      "0=\xC0\xAF@b# @ *",      // overlong "/"
      "0=\xED\xA0\x80@b# @ *",  // a surrogate
  };
  for (const char* line : lines) {
    const std::string file = Write("w.lang", LegacyFile({"[General]", "A@B", "[1]", line}));
    const TBytes before = ReadFileBytes(file);
    const TRun run = RunTool({"convert", file, "--to", "utf-8", "--from", "UTF-8"});
    EXPECT_EQ(run.status, kExitFileError) << line;
    EXPECT_NE(run.err.find("w.lang, line 4: the line is not valid UTF-8"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(Names(Dir()), (std::vector<std::string>{"w.lang"}));
  }
}

// A second conversion of the same name (say, a file put back from its
// backup and read in another code page) never replaces an older backup.
TEST_F(ConvertCommandTest, AnOlderBackupIsNeverReplaced) {
  const TBytes old = LegacyFile({"[General]", "A@B", "[1]", "0=\xE4@a# @ *"});
  const std::string file = Write("w.lang", old);
  const TBytes earlier = {1, 2, 3};
  Write("w.lang.windows-1252.bak", earlier);
  const TRun run = RunTool({"convert", file, "--to", "utf-8"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("kept in " + file + ".windows-1252.2.bak."), std::string::npos) << run.out;
  EXPECT_EQ(ReadFileBytes(Path("w.lang.windows-1252.bak")), earlier);
  EXPECT_EQ(ReadFileBytes(Path("w.lang.windows-1252.2.bak")), old);
}

// The reader always left out the text after a zero byte; the converted file
// does too, the backup keeps it, and the learner is told.
TEST_F(ConvertCommandTest, TellsOfBytesTheReaderLeavesOut) {
  using namespace std::string_literals;
  const std::string file = Write("nul.lang", LegacyFile({"[General]", "A@B", "[1]", "0=a\0note@b# @ *"s}));
  const TRun run = RunTool({"convert", file, "--to", "utf-8"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(ContainerLines(ReadFileBytes(file)),
            (std::vector<std::string>{"Encoding=UTF-8", "[General]", "A@B", "[1]", "0=a"}));
  EXPECT_NE(run.out.find("Line 4 held bytes the program does not read"), std::string::npos) << run.out;
}

struct TRefusal {
  const char* name;
  std::vector<std::string> options;
  int status;
  std::string message;
};

TEST_F(ConvertCommandTest, RefusalsChangeNothing) {
  const std::string file = Write("w.lang", LegacyFile({"[General]", "A@B", "[1]", "0=\xFF\x98x@y# @ *"}));
  const TRefusal refusals[] = {
      {"UndefinedByte",
       {"--to", "utf-8", "--from", "windows-1251"},
       kExitFileError,
       file + ", line 4: the byte 0x98 (byte 4 of the line) has no character in windows-1251"},
      {"UndefinedByteGreek",
       {"--to", "utf-8", "--from", "windows-1253"},
       kExitFileError,
       "line 4: the byte 0xFF (byte 3 of the line) has no character in windows-1253"},
      {"OtherTarget",
       {"--to", "windows-1250"},
       kExitRejected,
       "--to \"windows-1250\": a file can only be converted to utf-8"},
      {"NoTarget", {"--from", "windows-1250"}, kExitRejected, "give the encoding to convert to: --to utf-8"},
      {"UnknownSource",
       {"--to", "utf-8", "--from", "koi8-r"},
       kExitRejected,
       "--from \"koi8-r\" is not a code page this command reads; it reads windows-1250, windows-1251"},
      {"UnsupportedSource", {"--to", "utf-8", "--from", "windows-1255"}, kExitRejected, "is not a code page"},
      {"SourceTwice", {"--to", "utf-8", "--from", "1250", "--from", "1251"}, kExitRejected, "--from is given twice"},
      {"TwoFiles", {"--to", "utf-8", Path("other.lang")}, kExitRejected, "too many file names"},
  };
  const TBytes before = ReadFileBytes(file);
  for (const TRefusal& c : refusals) {
    std::vector<std::string> args = {"convert", file};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const TRun run = RunTool(args);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(ReadFileBytes(file), before) << c.name;
    EXPECT_EQ(Names(Dir()), (std::vector<std::string>{"w.lang"})) << c.name;
  }
}

TEST_F(ConvertCommandTest, DamagedOrMissingFilesChangeNothing) {
  TBytes damaged = LegacyFile({"[General]", "A@B", "[1]", "0=a@b# @ *"});
  damaged[damaged.size() / 2] ^= 0x01;
  Write("damaged.lang", damaged);
  Write("plain.lang", {'[', 'G', ']', '\r', '\n'});
  Write("empty.lang", {});
  // 40,000 letters of one byte each fit a line; as two bytes each they do not.
  Write("long.lang", LegacyFile({"[General]", "A@B", "[1]", "0=" + std::string(40000, '\xFF') + "@b# @ *"}));
  const std::vector<std::string> before = Names(Dir());
  struct TCase {
    std::string file;
    std::string message;
  };
  const TCase cases[] = {
      {Path("missing.lang"), "missing.lang: no such file"},
      {Path("damaged.lang"), "damaged.lang: not a language file, or damaged (header or checksum test failed)"},
      {Path("plain.lang"), "header or checksum test failed"},
      {Path("empty.lang"), "the file is empty"},
      {Dir().string(), "no such file"},
      {Path("long.lang"), "long.lang, line 4: in UTF-8 the line would be 80009 bytes long, more than the 65533"},
  };
  for (const TCase& c : cases) {
    const TBytes old = FileExistsWarn(c.file) ? ReadFileBytes(c.file) : TBytes{};
    const TRun run = RunTool({"convert", c.file, "--to", "utf-8", "--from", "windows-1251"});
    EXPECT_EQ(run.status, kExitFileError) << c.file;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    if (FileExistsWarn(c.file)) {
      EXPECT_EQ(ReadFileBytes(c.file), old) << c.file;
    }
    EXPECT_EQ(Names(Dir()), before) << c.file;
  }
}

TEST_F(ConvertCommandTest, RefusesTheFileTheProgramHoldsUnlessForced) {
  const std::string file = Write("held.lang", LegacyFile({"[General]", "A@B", "[1]", "0=\xE4@a# @ *"}));
  const TBytes before = ReadFileBytes(file);
  TPathLock program("langfile", file);
  ASSERT_TRUE(program.TryLock());
  const TRun refused = RunTool({"convert", file, "--to", "utf-8"});
  EXPECT_EQ(refused.status, kExitFileError);
  EXPECT_NE(refused.err.find("Quillmere is running with this file"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(Names(Dir()), (std::vector<std::string>{"held.lang"}));
  const TRun forced = RunTool({"convert", file, "--to", "utf-8", "--force"});
  EXPECT_EQ(forced.status, kExitOk) << forced.err;
  EXPECT_EQ(ReadFileBytes(Path("held.lang.windows-1252.bak")), before);
}

// Russian text of about 22 KB, a third longer in UTF-8: on a disk of 64 KB
// the file and its backup fit, the new file then does not.
TBytes RussianFile() {
  std::vector<std::string> lines = {"[General]", "\xD0\xF3\xF1\xF1\xEA\xE8\xE9@Deutsch", "[1]"};
  for (int i = 0; i < 500; ++i)
    lines.push_back(std::to_string(i) + "=\xFF\xE1\xEB\xEE\xEA\xEE \xE8 \xE3\xF0\xF3\xF8\xE0 " + std::to_string(i) +
                    "@Apfel und Birne# @ *");
  return LegacyFile(lines);
}

// A real disk: full before the backup, full before the new file (the backup
// fitted: it goes again), and read-only. The file and the folder stay as
// they were.
TEST(ConvertFaults, AFullOrReadOnlyDiskChangesNothing) {
  struct TCase {
    const char* name;
    const char* options;
    bool fillFirst;
    bool readOnly;
    const char* message;
  };
  const TCase cases[] = {
      {"full before the backup", "size=64k", true, false,
       "words.lang.windows-1251.bak: the backup cannot be written: "},
      {"full before the new file", "size=64k", false, false, "words.lang: cannot be written: "},
      {"read-only", "size=1m", false, true, "the backup cannot be written: "},
  };
  const TBytes old = RussianFile();
  ASSERT_GT(old.size(), 16000u);
  ASSERT_LT(old.size(), 24000u);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TScratchMount disk(c.options);
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here (needs root)";
    const std::string file = (disk.Path() / "words.lang").string();
    ASSERT_TRUE(WriteFileBytes(file, old, true));
    std::vector<std::string> names = {"words.lang"};
    if (c.fillFirst) {
      ASSERT_TRUE(disk.Fill("filler"));
      names.insert(names.begin(), "filler");
    }
    if (c.readOnly) {
      ASSERT_TRUE(disk.RemountReadOnly());
    }

    const TRun run = RunTool({"convert", file, "--to", "utf-8", "--from", "windows-1251"});
    EXPECT_EQ(run.status, kExitFileError) << run.out;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing was changed"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFileBytes(file), old);
    EXPECT_EQ(Names(disk.Path()), names);
  }
}

// Failures a disk cannot be made to give on demand, at the system calls of
// the second save (the new file; the backup was the first).
TEST(ConvertFaults, AFailedWriteOfTheNewFileKeepsTheOldOneAndNoBackup) {
  const TSaveCallFault faults[] = {
      {TSaveCall::Write, ENOSPC, 2},
      {TSaveCall::Fdatasync, EIO, 2},
      {TSaveCall::Rename, EIO, 2},
  };
  const TBytes old = RussianFile();
  for (const TSaveCallFault& fault : faults) {
    SCOPED_TRACE(static_cast<int>(fault.Call));
    QTemporaryDir dir;
    const std::string file = dir.filePath("words.lang").toStdString();
    ASSERT_TRUE(WriteFileBytes(file, old, true));
    const TSaveCallFailure failing(fault);
    const TRun run = RunTool({"convert", file, "--to", "utf-8", "--from", "windows-1251"});
    EXPECT_EQ(run.status, kExitFileError);
    EXPECT_NE(run.err.find(file + ": cannot be written: " + std::strerror(fault.Error)), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileBytes(file), old);
    EXPECT_EQ(Names(dir.path().toStdString()), (std::vector<std::string>{"words.lang"}));
  }
}

}  // namespace

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "core/Errors.h"
#include "FileText.h"
#include "storage/FileUtil.h"
#include "SaveCallFault.h"

namespace fs = std::filesystem;

namespace {
struct PathCase {
  std::string path, drive, dir, name, ext, base;
};



bool OnlyFile(const fs::path& dir, const std::string& name) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() != name) return false;
    ++count;
  }
  return count == 1;
}

struct WarnRecorder {
  std::vector<std::string> captions, texts;
  WarnRecorder() {
    SetFileWarnHook([this](const std::string& caption, const std::string& text, const void*) {
      captions.push_back(caption);
      texts.push_back(text);
    });
  }
  ~WarnRecorder() { SetFileWarnHook(nullptr); }
};
}  // namespace

TEST(PathParts, SplitWindowsAndPlatformPaths) {
  const PathCase cases[] = {
      {"C:\\Program\\Data\\Eng_Ger\\MyWords.lang", "C:", "Program\\Data\\Eng_Ger", "mywords.lang", "lang", "mywords"},
      {"C:\\x.exe", "C:", "", "x.exe", "exe", "x"},
      {"C:\\a.b.lang", "C:", "", "a.b.lang", "b.lang", "a"},
      {"/home/anna/Lang/English_German.lang", "", "home/anna/Lang", "english_german.lang", "lang", "english_german"},
      {"/x.lang", "", "", "x.lang", "lang", "x"},
      {"/opt/q\\LangFiles\\Eng_Ger\\tree.wav", "", "opt/q\\LangFiles\\Eng_Ger", "tree.wav", "wav", "tree"},
      {"", "", "", "", "", ""},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(GetDrivePart(c.path), c.drive);
    EXPECT_EQ(GetDirPart(c.path), c.dir);
    EXPECT_EQ(GetNamePart(c.path), c.name);
    EXPECT_EQ(GetExtPart(c.path), c.ext);
    EXPECT_EQ(GetBasePart(c.path), c.base);
  }
  // The program directory built from C:\x.exe is C:\.
  EXPECT_EQ(GetDrivePart("C:\\x.exe") + "\\" + GetDirPart("C:\\x.exe"), "C:\\");
}

TEST(AppRelativeName, BelowTheProgramDirectoryOnlyAndBackAgain) {
  struct Case {
    const char* path;
    const char* stored;
  };
  const std::string appDir = "/opt/q";
  const Case cases[] = {
      {"/opt/q/LangFiles/Eng_Ger/english_german.lang", "\\LangFiles\\Eng_Ger\\english_german.lang"},
      {"/opt/q/words.lang", "\\words.lang"},
      // A neighbouring folder that begins alike, the folder itself and
      // names elsewhere stay as they are.
      {"/opt/q2/words.lang", "/opt/q2/words.lang"},
      {"/opt/q", "/opt/q"},
      {"/opt/q/", "/opt/q/"},
      {"/home/anna/words.lang", "/home/anna/words.lang"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(AppRelativeName(appDir, c.path), c.stored);
    EXPECT_EQ(AppDirFileName(appDir, c.stored), c.path);
  }
  // A stored relative name is read against the directory the program runs from.
  EXPECT_EQ(AppDirFileName("/moved/here", "\\LangFiles\\Eng_Ger\\x.lang"), "/moved/here/LangFiles/Eng_Ger/x.lang");
  EXPECT_EQ(AppRelativeName("", "/opt/q/x.lang"), "/opt/q/x.lang");
}

TEST(FileExistsWarn, WarnsOnlyWithCaptionAndOwner) {
  WarnRecorder warnings;
  int owner = 0;
  EXPECT_FALSE(FileExistsWarn("C:\\Data\\Text.Db", "Quillmere", &owner));
  ASSERT_EQ(warnings.texts.size(), 1u);
  EXPECT_EQ(warnings.texts[0], "text.db - Dosn't exists  ");
  EXPECT_EQ(warnings.captions[0], "Quillmere");
  EXPECT_FALSE(FileExistsWarn("C:\\Data\\Text.Db"));
  EXPECT_FALSE(FileExistsWarn("C:\\Data\\Text.Db", "", &owner));
  EXPECT_FALSE(FileExistsWarn("C:\\Data\\Text.Db", "Quillmere", nullptr));
  EXPECT_EQ(warnings.texts.size(), 1u);
  EXPECT_FALSE(FileExistsWarn("relative.wav", "mediaManager", &owner));
  EXPECT_EQ(warnings.texts.back(), "relative.wav - Dosn't exists  ");
}

TEST(FileExistsWarn, FoldersAreNoFiles) {
  QTemporaryDir dir;
  const std::string base = dir.path().toStdString();
  EXPECT_FALSE(FileExistsWarn(base));
  Spit(fs::path(base) / "f.lang", "x");
  EXPECT_TRUE(FileExistsWarn(base + "/f.lang"));
  EXPECT_TRUE(FileExistsWarn(base + "\\f.lang"));  // stored names use backslashes
}

TEST(ReadFileBytes, MissingGivesEmptyAndUnreadableRaises) {
  QTemporaryDir dir;
  const fs::path base = dir.path().toStdString();
  EXPECT_TRUE(ReadFileBytes((base / "none").string()).empty());
  Spit(base / "f", std::string("a\0b", 3));
  EXPECT_EQ(ReadFileBytes((base / "f").string()), (TBytes{'a', 0, 'b'}));

  if (geteuid() != 0) {  // root reads anything
    chmod((base / "f").c_str(), 0);
    try {
      ReadFileBytes((base / "f").string());
      ADD_FAILURE() << "no error";
    } catch (const TFileIoError& e) {
      EXPECT_EQ(e.File(), (base / "f").string());
      EXPECT_FALSE(e.Reason().empty());
    }
  }
}

TEST(WriteFileBytes, WritesAndReplaces) {
  QTemporaryDir dir;
  const fs::path target = fs::path(dir.path().toStdString()) / "w.lang";
  EXPECT_TRUE(WriteFileBytes(target.string(), TBytes{'o', 'l', 'd'}, false));
  EXPECT_EQ(Slurp(target), "old");
  EXPECT_FALSE(WriteFileBytes(target.string(), TBytes{'n', 'e', 'w'}, false));
  EXPECT_EQ(Slurp(target), "old");
  EXPECT_TRUE(WriteFileBytes(target.string(), TBytes{'n', 'e', 'w'}, true));
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_TRUE(OnlyFile(target.parent_path(), "w.lang"));
}

// On any failure the old file stays byte for byte and no temporary file is left.
TEST(WriteFileBytes, FailuresKeepTheOldFile) {
  QTemporaryDir dir;
  const fs::path folder = dir.path().toStdString();
  const fs::path target = folder / "keep.lang";
  Spit(target, "precious");
  TBytes big(1000000, 'x');

  for (const TSaveCallFault& fault : {TSaveCallFault{TSaveCall::Write, ENOSPC}, TSaveCallFault{TSaveCall::Rename, EIO}}) {
    const TSaveCallFailure failing(fault);
    TSaveResult result;
    EXPECT_FALSE(WriteFileBytes(target.string(), big, true, &result));
    EXPECT_EQ(result.Error, fault.Error);
  }
  EXPECT_EQ(Slurp(target), "precious");
  EXPECT_TRUE(OnlyFile(folder, "keep.lang"));

  // The target is a folder.
  fs::create_directory(folder / "sub");
  EXPECT_FALSE(WriteFileBytes((folder / "sub").string(), big, true));
  EXPECT_TRUE(fs::is_directory(folder / "sub"));

  if (geteuid() != 0) {  // root writes anywhere
    chmod(folder.c_str(), 0555);
    EXPECT_FALSE(WriteFileBytes(target.string(), big, true));
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(Slurp(target), "precious");
  }
  fs::remove(folder / "sub");
  EXPECT_TRUE(OnlyFile(folder, "keep.lang"));
}

TEST(DeleteFileAt, ReportsSuccess) {
  QTemporaryDir dir;
  const fs::path f = fs::path(dir.path().toStdString()) / "d";
  Spit(f, "x");
  EXPECT_TRUE(DeleteFileAt(f.string()));
  EXPECT_FALSE(DeleteFileAt(f.string()));
}

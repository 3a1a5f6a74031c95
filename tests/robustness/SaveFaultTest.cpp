// Saving on a broken disk: the previous language file and settings file stay
// byte for byte, the save reports failure and no temporary file is left.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>

#include "settings/AppIniFile.h"
#include "FileText.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "SaveCallFault.h"
#include "ScratchMount.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A language file with enough pairs to need more room than a tiny disk has.
std::unique_ptr<TLangFHandler> BigLanguageFile(int pairs) {
  auto handler = std::make_unique<TLangFHandler>();
  handler->SetLangNames("English", "German");
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = 1;
  for (int i = 0; i < pairs; ++i)
    lesson->AddPearLine(std::to_string(i) + "=phrase number " + std::to_string(i) + "@Satz Nummer " +
                        std::to_string(i) + "# @ *");
  handler->PutLesson(lesson);
  return handler;
}

void WriteSettings(const fs::path& dir, const std::string& content) {
  std::ofstream out(dir / "Quillmere.Ini", std::ios::binary);
  out << content;
}

bool SaveSettings(const fs::path& dir) {
  TAppIniFile ini(dir.string(), nullptr);
  if (!ini.IniFound) return false;
  ini.ReadExercise();
  ini.ReadProperties();
  ini.MaxWords = 123;
  ini.ExerciseWords.assign(20000, TExerciseWord{1, 2, 3, false});
  ini.WriteProperties();
  ini.WriteExercise();
  ini.WriteLanguage();
  return ini.UpdateFile();
}

const char kOldSettings[] = "[Application]\r\nLanguage=DE\r\n; a comment\r\n[exercise]\r\nMaxWords=7\r\n";
}  // namespace

// A disk that is full already or fills while writing: one piece (all of a
// small file) and many pieces.
TEST(SaveFaults, FullDiskKeepsBothFiles) {
  struct Case {
    const char* name;
    int pairs;
    bool fillFirst;
  };
  const Case cases[] = {
      {"small file on a full disk", 3, true},
      {"large file on a full disk", 5000, true},
      {"large file filling the disk", 5000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScratchMount disk("size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here (needs root)";
    const std::string langPath = (disk.Path() / "words.lang").string();
    ASSERT_TRUE(BigLanguageFile(2)->SaveLangFile(langPath));
    const std::string oldLang = Slurp(langPath);
    WriteSettings(disk.Path(), kOldSettings);
    std::vector<std::string> names{"Quillmere.Ini", "words.lang"};
    if (c.fillFirst) {
      ASSERT_TRUE(disk.Fill("filler"));
      names.insert(names.begin() + 1, "filler");
    }

    TSaveResult result;
    EXPECT_FALSE(BigLanguageFile(c.pairs)->SaveLangFile(langPath, &result));
    EXPECT_EQ(result.Error, ENOSPC) << result.Step;
    EXPECT_FALSE(SaveSettings(disk.Path()));

    EXPECT_EQ(Slurp(langPath), oldLang);
    EXPECT_EQ(Slurp(disk.Path() / "Quillmere.Ini"), kOldSettings);
    EXPECT_EQ(Names(disk.Path()), names);
  }
}

TEST(SaveFaults, ReadOnlyFolderKeepsBothFiles) {
  TScratchMount disk("size=1m");
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here";
  const std::string langPath = (disk.Path() / "words.lang").string();
  ASSERT_TRUE(BigLanguageFile(3)->SaveLangFile(langPath));
  const std::string oldLang = Slurp(langPath);
  WriteSettings(disk.Path(), kOldSettings);
  ASSERT_TRUE(disk.RemountReadOnly());

  EXPECT_FALSE(BigLanguageFile(10)->SaveLangFile(langPath));
  EXPECT_FALSE(SaveSettings(disk.Path()));

  EXPECT_EQ(Slurp(langPath), oldLang);
  EXPECT_EQ(Slurp(disk.Path() / "Quillmere.Ini"), kOldSettings);
  EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"Quillmere.Ini", "words.lang"}));
}

// What a real disk can't be made to do on demand, failed at the system
// calls themselves, through the language file and the settings file.
TEST(SaveFaults, InjectedFailuresKeepBothFiles) {
  const TSaveCallFault faults[] = {
      {TSaveCall::Write, ENOSPC},
      {TSaveCall::Write, ENOSPC, 2, false, 100},
      {TSaveCall::Fdatasync, EIO},
      {TSaveCall::Close, EIO},
      {TSaveCall::Rename, EIO},
  };
  const auto small = BigLanguageFile(3);
  const auto large = BigLanguageFile(50000);  // several write pieces
  for (const TSaveCallFault& fault : faults) {
    for (TLangFHandler* newer : {small.get(), large.get()}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(fault.Call)) + " fails, " + (newer == small.get() ? "small" : "large"));
      QTemporaryDir dir;
      const fs::path folder = dir.path().toStdString();
      const std::string langPath = (folder / "words.lang").string();
      ASSERT_TRUE(BigLanguageFile(2)->SaveLangFile(langPath));
      const std::string oldLang = Slurp(langPath);
      WriteSettings(folder, kOldSettings);

      const TSaveCallFailure failing(fault);
      EXPECT_FALSE(newer->SaveLangFile(langPath));
      EXPECT_FALSE(SaveSettings(folder));

      EXPECT_EQ(Slurp(langPath), oldLang);
      EXPECT_EQ(Slurp(folder / "Quillmere.Ini"), kOldSettings);
      EXPECT_EQ(Names(folder), (std::vector<std::string>{"Quillmere.Ini", "words.lang"}));
    }
  }
}

TEST(SaveFaults, TargetThatIsAFolderStaysAFolder) {
  QTemporaryDir dir;
  const fs::path folder = dir.path().toStdString();
  fs::create_directory(folder / "words.lang");
  EXPECT_FALSE(BigLanguageFile(3)->SaveLangFile((folder / "words.lang").string()));
  EXPECT_TRUE(fs::is_directory(folder / "words.lang"));

  fs::create_directory(folder / "Quillmere.Ini");
  TAppIniFile ini(folder.string(), nullptr);
  EXPECT_FALSE(ini.IniFound);
  EXPECT_TRUE(fs::is_directory(folder / "Quillmere.Ini"));
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"Quillmere.Ini", "words.lang"}));
}

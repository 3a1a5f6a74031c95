// Saving on a broken disk: the previous language file and settings file stay
// byte for byte, the save reports failure and no temporary file is left.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>

#include "settings/AppIniFile.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

namespace fs = std::filesystem;

namespace {
std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A small tmpfs of its own, so a full disk and a read-only folder are real.
// Needs root and mount rights; tests skip without them.
class ScratchMount {
 public:
  explicit ScratchMount(const std::string& options) {
    if (geteuid() != 0) return;
    mounted_ = mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~ScratchMount() {
    if (mounted_) umount2(dir_.path().toLocal8Bit().constData(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  fs::path Path() const { return dir_.path().toStdString(); }
  bool RemountReadOnly() {
    return mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

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

TEST(SaveFaults, FullDiskKeepsBothFiles) {
  ScratchMount disk("size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here";
  auto small = BigLanguageFile(3);
  const std::string langPath = (disk.Path() / "words.lang").string();
  ASSERT_TRUE(small->SaveLangFile(langPath));
  const std::string oldLang = Slurp(langPath);
  WriteSettings(disk.Path(), kOldSettings);

  EXPECT_FALSE(BigLanguageFile(5000)->SaveLangFile(langPath));
  EXPECT_FALSE(SaveSettings(disk.Path()));

  EXPECT_EQ(Slurp(langPath), oldLang);
  EXPECT_EQ(Slurp(disk.Path() / "Quillmere.Ini"), kOldSettings);
  EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"Quillmere.Ini", "words.lang"}));
}

TEST(SaveFaults, ReadOnlyFolderKeepsBothFiles) {
  ScratchMount disk("size=1m");
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

// The seam covers what a real disk can't be made to do on demand: failing
// after some bytes, and dying between writing and replacing.
TEST(SaveFaults, InjectedFailuresKeepBothFiles) {
  struct Case {
    const char* name;
    TWriteFaults faults;
  };
  const Case cases[] = {
      {"fails after 0 bytes", {0, false}},
      {"fails after 100 bytes", {100, false}},
      {"dies before replacing", {-1, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const std::string langPath = (folder / "words.lang").string();
    ASSERT_TRUE(BigLanguageFile(3)->SaveLangFile(langPath));
    const std::string oldLang = Slurp(langPath);
    WriteSettings(folder, kOldSettings);

    SetWriteFaults(c.faults);
    EXPECT_FALSE(BigLanguageFile(500)->SaveLangFile(langPath));
    EXPECT_FALSE(SaveSettings(folder));
    SetWriteFaults({});

    EXPECT_EQ(Slurp(langPath), oldLang);
    EXPECT_EQ(Slurp(folder / "Quillmere.Ini"), kOldSettings);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"Quillmere.Ini", "words.lang"}));
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

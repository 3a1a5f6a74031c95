// Backups of the language files the program replaces: the old bytes of a
// file read with losses beside it, and one version a day in the backup folder.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "storage/LangFileBackups.h"
#include "StoredImage.h"

namespace fs = std::filesystem;
using namespace std::chrono;
using namespace std::string_literals;

namespace {

const std::string kLossy = "[General]\r\nEnglish@German\r\n[1]\r\n0=house@Haus# @ *\r\n1=tree\0 (secret note)@Baum# @ *\r\n"s;
const std::string kClean = "[General]\r\nEnglish@German\r\n[1]\r\n0=house@Haus# @ *\r\n1=tree@Baum# @ *\r\n";

class LangFileBackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backups_ = std::make_unique<TLangFileBackups>(
        Path("Backups"), [this] { return day_; }, [this](const TBackupNotice& n) { notices_.push_back(n); });
    previous_ = SetLangSaveGuard(backups_.get());
  }
  void TearDown() override { SetLangSaveGuard(previous_); }

  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  std::string Put(const std::string& name, const TBytes& bytes) const {
    EXPECT_TRUE(WriteFileBytes(Path(name), bytes, true));
    return Path(name);
  }
  // Loads the file, marks a pair drawn and saves it, as a composition does.
  bool LoadChangeSave(const std::string& path) {
    TLangFHandler handler;
    EXPECT_TRUE(handler.LoadLangFile(path));
    handler.GetLesson(1)->GetPear(0)->Drawn = !handler.GetLesson(1)->GetPear(0)->Drawn;
    return handler.SaveLangFile(path);
  }
  std::vector<std::string> DailyNames(const std::string& path) const {
    std::vector<std::string> names;
    const fs::path folder = backups_->DailyFolder(path);
    if (!fs::exists(folder)) return names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  QTemporaryDir dir_;
  year_month_day day_{2024y, March, 1d};
  std::vector<TBackupNotice> notices_;
  std::unique_ptr<TLangFileBackups> backups_;
  TLangSaveGuard* previous_ = nullptr;
};
}  // namespace

TEST_F(LangFileBackupsTest, LossyReadLeavesBackupWithExactOldBytesAndTheNewFile) {
  const TBytes old = StoredImage(kLossy);
  const std::string path = Put("words.lang", old);
  ASSERT_TRUE(LoadChangeSave(path));

  EXPECT_EQ(ReadFileBytes(path + ".bak"), old);
  TLangFHandler reread;
  ASSERT_TRUE(reread.LoadLangFile(path));
  EXPECT_TRUE(reread.GetLesson(1)->GetPear(0)->Drawn) << "the new file is written too";
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(notices_[0].Kind, TBackupNotice::TKind::LossBackupKept);
  EXPECT_EQ(notices_[0].BackupPath, path + ".bak");
  EXPECT_EQ(notices_[0].FileName, path);
  EXPECT_EQ(notices_[0].Losses.Count(TLossKind::TextCutAtNul), 1);
}

TEST_F(LangFileBackupsTest, CleanReadLeavesNoBackupBesideTheFile) {
  const std::string path = Put("words.lang", StoredImage(kClean));
  ASSERT_TRUE(LoadChangeSave(path));
  EXPECT_FALSE(fs::exists(path + ".bak"));
  EXPECT_TRUE(notices_.empty());
}

TEST_F(LangFileBackupsTest, OneHandlerSavingTwiceKeepsOneBackupAndTellsOnce) {
  const std::string path = Put("words.lang", StoredImage(kLossy));
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(path));
  ASSERT_TRUE(handler.SaveLangFile(path));
  ASSERT_TRUE(handler.SaveLangFile(path));
  EXPECT_FALSE(fs::exists(path + ".2.bak"));
  EXPECT_EQ(notices_.size(), 1u);
}

TEST_F(LangFileBackupsTest, EditorClearingBeforeSaveStillKeepsTheBackup) {
  const TBytes old = StoredImage(kLossy);
  const std::string path = Put("words.lang", old);
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(path));
  const auto lesson = handler.GetLesson(1);
  handler.ClearLessons();
  handler.PutLesson(lesson);
  ASSERT_TRUE(handler.SaveLangFile(path));
  EXPECT_EQ(ReadFileBytes(path + ".bak"), old);
}

TEST_F(LangFileBackupsTest, SavingUnderAnotherNameKeepsNoLossBackup) {
  const std::string path = Put("words.lang", StoredImage(kLossy));
  Put("other.lang", StoredImage(kClean));
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(path));
  ASSERT_TRUE(handler.SaveLangFile(Path("other.lang")));
  EXPECT_FALSE(fs::exists(Path("other.lang.bak")));
  EXPECT_FALSE(fs::exists(path + ".bak")) << "the lossy file itself is untouched";
}

TEST_F(LangFileBackupsTest, AnOlderBackupIsNeverReplaced) {
  const std::string path = Put("words.lang", StoredImage(kLossy));
  const TBytes older = {'o', 'l', 'd'};
  Put("words.lang.bak", older);
  ASSERT_TRUE(LoadChangeSave(path));
  EXPECT_EQ(ReadFileBytes(path + ".bak"), older);
  EXPECT_EQ(ReadFileBytes(path + ".2.bak"), StoredImage(kLossy));
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(notices_[0].BackupPath, path + ".2.bak");
}

TEST_F(LangFileBackupsTest, FirstSaveOfADayKeepsThePreviousVersion) {
  const TBytes morning = StoredImage(kClean);
  const std::string path = Put("words.lang", morning);
  ASSERT_TRUE(LoadChangeSave(path));
  ASSERT_TRUE(LoadChangeSave(path));
  // The day's backup is the version before the day's first save.
  ASSERT_EQ(DailyNames(path), std::vector<std::string>{"words-2024-03-01.lang"});
  EXPECT_EQ(ReadFileBytes(backups_->DailyFolder(path) + "/words-2024-03-01.lang"), morning);
  const TBytes evening = ReadFileBytes(path);
  day_ = year_month_day{2024y, March, 2d};
  ASSERT_TRUE(LoadChangeSave(path));
  EXPECT_EQ(ReadFileBytes(backups_->DailyFolder(path) + "/words-2024-03-02.lang"), evening);
  EXPECT_TRUE(notices_.empty());
}

TEST_F(LangFileBackupsTest, EighthDaysBackupRemovesTheOldest) {
  const std::string path = Put("words.lang", StoredImage(kClean));
  for (unsigned d = 1; d <= 8; ++d) {
    day_ = year_month_day{2024y, March, std::chrono::day{d}};
    ASSERT_TRUE(LoadChangeSave(path));
  }
  ASSERT_EQ(DailyNames(path).size(), 7u) << "8 saves on 8 days, the first day's file gone";
  // Something else in the folder is never touched.
  std::ofstream(backups_->DailyFolder(path) + "/keep-me.txt") << "mine";
  day_ = year_month_day{2024y, March, 9d};
  ASSERT_TRUE(LoadChangeSave(path));
  std::vector<std::string> expected;
  for (int d = 3; d <= 9; ++d) expected.push_back("words-2024-03-0" + std::to_string(d) + ".lang");
  expected.insert(expected.begin(), "keep-me.txt");
  EXPECT_EQ(DailyNames(path), expected);
}

TEST_F(LangFileBackupsTest, FilesOfTheSameNameInTwoFoldersKeepApartBackups) {
  fs::create_directories(Path("a"));
  fs::create_directories(Path("b"));
  const std::string a = Put("a/words.lang", StoredImage(kClean));
  const std::string b = Put("b/words.lang", StoredImage(kClean));
  EXPECT_NE(backups_->DailyFolder(a), backups_->DailyFolder(b));
}

TEST_F(LangFileBackupsTest, NewFileNeedsNoBackup) {
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangBytes(StoredImage(kClean), Path("new.lang")));
  ASSERT_TRUE(handler.SaveLangFile(Path("new.lang")));
  EXPECT_TRUE(DailyNames(Path("new.lang")).empty());
  EXPECT_TRUE(notices_.empty());
}

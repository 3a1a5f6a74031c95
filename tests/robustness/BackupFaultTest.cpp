// Backups on a broken disk: a daily backup that cannot be written is
// reported and the learner's save goes on; a lossy file whose backup cannot
// be written is not replaced, so nothing of it is lost.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
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
// A small tmpfs of its own, so a full disk is real. Needs root and mount
// rights; tests skip without them.
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
  std::string Path() const { return dir_.path().toStdString(); }
  // Fills the disk to the last byte.
  void Fill() const {
    std::ofstream out(Path() + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};


std::string ManyPairs(const std::string& extra) {
  std::string text = "[General]\r\nEnglish@German\r\n[1]\r\n";
  for (int i = 0; i < 2000; ++i) text += std::to_string(i) + "=phrase number " + std::to_string(i) + "@Satz# @ *\r\n";
  return text + extra;
}

struct TGuardScope {
  explicit TGuardScope(TLangSaveGuard* guard) : previous(SetLangSaveGuard(guard)) {}
  ~TGuardScope() { SetLangSaveGuard(previous); }
  TLangSaveGuard* previous;
};
}  // namespace

TEST(BackupFault, FailingDailyBackupIsReportedAndTheSaveGoesOn) {
  ScratchMount disk("size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  disk.Fill();
  QTemporaryDir home;
  const std::string path = home.path().toStdString() + "/words.lang";
  ASSERT_TRUE(WriteFileBytes(path, StoredImage(ManyPairs("")), true));

  std::vector<TBackupNotice> notices;
  TLangFileBackups backups(disk.Path() + "/Backups", [] { return year_month_day{2024y, May, 3d}; },
                           [&](const TBackupNotice& n) { notices.push_back(n); });
  const TGuardScope scope(&backups);
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(path));
  handler.GetLesson(1)->GetPear(0)->Drawn = true;
  EXPECT_TRUE(handler.SaveLangFile(path)) << "the learner's save is not stopped";
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Kind, TBackupNotice::TKind::DailyBackupFailed);
  EXPECT_EQ(notices[0].BackupPath, backups.DailyFolder(path) + "/words-2024-05-03.lang");
  // No half-written backup is left behind.
  EXPECT_FALSE(fs::exists(notices[0].BackupPath));
  // Told once that day.
  EXPECT_TRUE(handler.SaveLangFile(path));
  EXPECT_EQ(notices.size(), 1u);
}

TEST(BackupFault, LossyFileWhoseBackupCannotBeWrittenIsNotReplaced) {
  ScratchMount disk("size=128k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  const std::string path = disk.Path() + "/words.lang";
  const TBytes old = StoredImage(ManyPairs("[-5]\r\n0=red@rot# @ *\r\n"));
  ASSERT_TRUE(WriteFileBytes(path, old, true));
  disk.Fill();

  QTemporaryDir home;
  std::vector<TBackupNotice> notices;
  TLangFileBackups backups(home.path().toStdString() + "/Backups", [] { return year_month_day{2024y, May, 3d}; },
                           [&](const TBackupNotice& n) { notices.push_back(n); });
  const TGuardScope scope(&backups);
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangFile(path));
  ASSERT_TRUE(handler.LoadLosses().Any());
  EXPECT_FALSE(handler.SaveLangFile(path));
  EXPECT_EQ(ReadFileBytes(path), old);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Kind, TBackupNotice::TKind::LossBackupFailed);
  EXPECT_EQ(notices[0].BackupPath, path + ".bak");
  EXPECT_FALSE(fs::exists(path + ".bak"));
  EXPECT_EQ(notices[0].Losses.Count(TLossKind::NegativeLesson), 1);
}

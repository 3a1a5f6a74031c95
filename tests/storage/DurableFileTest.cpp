// The save at the system calls: each failing call leaves the old bytes and
// no temporary file, links are followed only where Linux would follow them.
#include "storage/DurableFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "FileText.h"
#include "SaveCallFault.h"

namespace fs = std::filesystem;

namespace {


std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TSaveResult Save(const fs::path& target, const std::string& content, bool overwrite = true) {
  return SaveFileDurably(target, reinterpret_cast<const uint8_t*>(content.data()), content.size(), overwrite);
}

mode_t Mode(const fs::path& p) {
  struct stat st {};
  lstat(p.c_str(), &st);
  return st.st_mode & 07777;
}

// One piece, and several (a piece is a megabyte).
const std::string kSmall = "[General]\r\nsmall\r\n";
const std::string kLarge(3 * 1024 * 1024 + 17, 'L');

class DurableFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir_;
  fs::path folder_ = dir_.path().toStdString();
  fs::path target_ = folder_ / "words.lang";
};
}  // namespace

TEST_F(DurableFileTest, EveryFailingCallKeepsTheOldFile) {
  struct Case {
    const char* name;
    TSaveCallFault fault;
    const char* step;
  };
  const Case cases[] = {
      {"no room at the first write", {TSaveCall::Write, ENOSPC}, "write"},
      {"a short write, then no room", {TSaveCall::Write, ENOSPC, 2, false, 10}, "write"},
      {"write error", {TSaveCall::Write, EIO}, "write"},
      {"data sync error", {TSaveCall::Fdatasync, EIO}, "fdatasync"},
      {"close error", {TSaveCall::Close, EIO}, "close"},
      {"rename error", {TSaveCall::Rename, EIO}, "rename"},
      {"temporary file refused", {TSaveCall::Open, EACCES}, "open"},
  };
  for (const std::string* content : {&kSmall, &kLarge}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (content == &kSmall ? ", small file" : ", large file"));
      Spit(target_, "precious old bytes");
      TSaveResult result;
      {
        const TSaveCallFailure failing(c.fault);
        result = Save(target_, *content);
      }
      EXPECT_FALSE(result.Ok());
      EXPECT_EQ(result.Fault, TSaveFault::System);
      EXPECT_EQ(result.Error, c.fault.Error);
      EXPECT_EQ(result.Step, c.step);
      EXPECT_EQ(result.Reason, std::strerror(c.fault.Error));
      EXPECT_EQ(Slurp(target_), "precious old bytes");
      EXPECT_EQ(Names(folder_), std::vector<std::string>{"words.lang"});
    }
  }
}

TEST_F(DurableFileTest, InterruptedAndShortWritesStillWriteEverything) {
  const TSaveCallFault cases[] = {
      {TSaveCall::Write, EINTR, 1, true},
      {TSaveCall::Write, EINTR, 2, true},
      {TSaveCall::Write, EIO, 1000000, false, 4099},
      {TSaveCall::Write, EIO, 1000000, false, 1000001},
  };
  for (const std::string* content : {&kSmall, &kLarge}) {
    for (const TSaveCallFault& fault : cases) {
      SCOPED_TRACE("from " + std::to_string(fault.From) + ", short " + std::to_string(fault.ShortWrite));
      Spit(target_, "old");
      const TSaveCallFailure failing(fault);
      EXPECT_TRUE(Save(target_, *content).Ok());
      EXPECT_EQ(Slurp(target_), *content);
      EXPECT_EQ(Names(folder_), std::vector<std::string>{"words.lang"});
    }
  }
}

// After the rename the new bytes are in place; the save still says that it
// may not last.
TEST_F(DurableFileTest, FailedFolderSyncIsReported) {
  Spit(target_, "old");
  const TSaveCallFailure failing({TSaveCall::Fsync, EIO});
  const TSaveResult result = Save(target_, kSmall);
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(result.Step, "fsync folder");
  EXPECT_EQ(Slurp(target_), kSmall);
  EXPECT_EQ(Names(folder_), std::vector<std::string>{"words.lang"});
}

TEST_F(DurableFileTest, DataIsSyncedOnceNotPerPiece) {
  const TSaveCallFailure counting({TSaveCall::Fdatasync, EIO, 1000});
  ASSERT_TRUE(Save(target_, kLarge).Ok());
  EXPECT_EQ(counting.Calls(), 1);
}

TEST_F(DurableFileTest, TemporaryFileOfAKilledSaveIsRemovedByTheNext) {
  Spit(target_, "old");
  const fs::path stale = folder_ / (SaveTempPrefix("words.lang") + "a1B2c3");
  Spit(stale, "half a file");
  // Not ours: another file's, a name that only looks alike, a save in progress.
  const fs::path otherFile = folder_ / (SaveTempPrefix("other.lang") + "a1B2c3");
  const fs::path lookalike = folder_ / (SaveTempPrefix("words.lang") + "a1B2c3d");
  const fs::path busy = folder_ / (SaveTempPrefix("words.lang") + "Busy00");
  Spit(otherFile, "x");
  Spit(lookalike, "x");
  Spit(busy, "x");
  const int held = open(busy.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);

  ASSERT_TRUE(Save(target_, kSmall).Ok());
  close(held);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(otherFile));
  EXPECT_TRUE(fs::exists(lookalike));
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_EQ(Slurp(target_), kSmall);
}

TEST_F(DurableFileTest, PermissionBitsKeptAndNewFilesFollowTheUmask) {
  Spit(target_, "old");
  chmod(target_.c_str(), 0640);
  ASSERT_TRUE(Save(target_, kSmall).Ok());
  EXPECT_EQ(Mode(target_), 0640u);

  const mode_t previous = umask(027);
  const TSaveResult made = Save(folder_ / "new.lang", kSmall);
  umask(previous);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(Mode(folder_ / "new.lang"), 0640u);
}

TEST_F(DurableFileTest, ExistingFileAndFoldersAreNotReplaced) {
  Spit(target_, "old");
  EXPECT_EQ(Save(target_, kSmall, false).Fault, TSaveFault::Exists);
  EXPECT_EQ(Slurp(target_), "old");
  EXPECT_TRUE(Save(folder_ / "fresh.lang", kSmall, false).Ok());

  fs::create_directory(folder_ / "sub");
  EXPECT_EQ(Save(folder_ / "sub", kSmall).Fault, TSaveFault::NotAFile);
  EXPECT_TRUE(fs::is_directory(folder_ / "sub"));
  EXPECT_EQ(Save(folder_ / "no" / "such.lang", kSmall).Error, ENOENT);
  if (geteuid() != 0) {  // root writes anything
    chmod(target_.c_str(), 0444);
    EXPECT_EQ(Save(target_, kSmall).Error, EACCES);
    EXPECT_EQ(Slurp(target_), "old");
    chmod(target_.c_str(), 0644);
  }
  EXPECT_EQ(Names(folder_), (std::vector<std::string>{"fresh.lang", "sub", "words.lang"}));
}

// A link of one's own: the file it names is replaced in its own folder, the
// link stays a link.
TEST_F(DurableFileTest, OwnLinkReplacesTheFileItNames) {
  fs::create_directory(folder_ / "real");
  const fs::path real = folder_ / "real" / "words.lang";
  Spit(real, "old");
  chmod(real.c_str(), 0604);
  fs::create_symlink("real/words.lang", target_);
  ASSERT_TRUE(Save(target_, kSmall).Ok());
  EXPECT_TRUE(fs::is_symlink(target_));
  EXPECT_EQ(Slurp(real), kSmall);
  EXPECT_EQ(Mode(real), 0604u);
  EXPECT_EQ(Names(folder_ / "real"), std::vector<std::string>{"words.lang"});
}

// Linux's protected_symlinks rule, with a real sticky folder and links of
// another user.
TEST_F(DurableFileTest, LinksInSharedFoldersFollowedOnlyAsLinuxWould) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  const uid_t other = 4242;
  const fs::path privateFile = folder_ / "private.lang";
  struct Case {
    const char* name;
    mode_t folderMode;
    uid_t folderOwner;
    uid_t linkOwner;
    bool followed;
  };
  const Case cases[] = {
      {"another user's link in a shared sticky folder", 01777, 0, other, false},
      {"own link in another user's shared sticky folder", 01777, other, 0, true},
      {"the folder owner's link", 01777, other, other, true},
      {"another user's link in a folder that is not sticky", 0777, 0, other, true},
      {"another user's link in a sticky folder others may not write", 01755, 0, other, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path shared = folder_ / "shared";
    fs::remove_all(shared);
    fs::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
    ASSERT_EQ(chown(shared.c_str(), c.folderOwner, 0), 0);
    Spit(privateFile, "secret");
    const fs::path link = shared / "words.lang";
    fs::create_symlink(privateFile, link);
    ASSERT_EQ(lchown(link.c_str(), c.linkOwner, 0), 0);

    const TSaveResult result = Save(link, kSmall);
    if (c.followed) {
      EXPECT_TRUE(result.Ok()) << result.Reason;
      EXPECT_EQ(Slurp(privateFile), kSmall);
    } else {
      EXPECT_EQ(result.Fault, TSaveFault::ForeignLink);
      EXPECT_NE(result.Reason.find(link.string()), std::string::npos) << result.Reason;
      EXPECT_EQ(Slurp(privateFile), "secret");
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Names(shared), std::vector<std::string>{"words.lang"});
  }
}

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/PathLock.h"

namespace {

TEST(PathLockTest, OneHolderPerPathWhateverItsSpelling) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath("settings.ini").toStdString();
  TPathLock first("instance", path);
  TPathLock second("instance", dir.path().toStdString() + "/sub/../settings.ini");
  TPathLock otherKind("langfile", path);
  EXPECT_EQ(first.LockFileName(), second.LockFileName());
  EXPECT_NE(first.LockFileName(), otherKind.LockFileName());
  EXPECT_EQ(first.LockFileName().rfind(TPathLock::RuntimeFolder() + "/", 0), 0u) << "never beside the file";

  ASSERT_TRUE(first.TryLock());
  EXPECT_TRUE(IsPathLocked("instance", path));
  EXPECT_FALSE(second.TryLock());
  EXPECT_TRUE(otherKind.TryLock());
  first.Unlock();
  EXPECT_FALSE(IsPathLocked("instance", path));
  EXPECT_TRUE(second.TryLock());
}

// A copy of the program that crashed must not keep every later copy out.
TEST(PathLockTest, TheLockOfAProcessThatDiedIsTakenOver) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath("Quillmere.Ini").toStdString();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TPathLock held("instance", path);
    const char taken = held.TryLock() ? '1' : '0';
    (void)!write(ready[1], &taken, 1);
    pause();  // killed here, the lock file still in place
    _exit(0);
  }
  char taken = 0;
  ASSERT_EQ(read(ready[0], &taken, 1), 1);
  EXPECT_EQ(taken, '1');
  EXPECT_TRUE(IsPathLocked("instance", path)) << "a running holder keeps it";
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);

  TPathLock next("instance", path);
  EXPECT_TRUE(next.TryLock());
}

}  // namespace

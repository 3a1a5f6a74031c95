#include "ScratchMount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <vector>

TScratchMount::TScratchMount(const std::string& options) {
  if (geteuid() != 0) return;
  mounted_ = mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs", 0, options.c_str()) == 0;
}

TScratchMount::~TScratchMount() {
  if (mounted_) umount2(dir_.path().toLocal8Bit().constData(), MNT_DETACH);
}

std::filesystem::path TScratchMount::Path() const { return dir_.path().toStdString(); }

bool TScratchMount::RemountReadOnly() {
  return mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool TScratchMount::Fill(const std::string& name) {
  const int fd = open((Path() / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::vector<char> block(4096, 'f');
  ssize_t wrote = 0;
  do wrote = write(fd, block.data(), block.size());
  while (wrote > 0);
  // Then byte by byte into the last page.
  while (write(fd, block.data(), 1) == 1) {
  }
  close(fd);
  return true;
}

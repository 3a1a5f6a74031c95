#include "AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {
TSaveResult Failure(const char* step, int error) {
  TSaveResult result;
  result.Fault = TSaveFault::System;
  result.Error = error;
  result.Step = step;
  result.Reason = std::strerror(error);
  return result;
}

// True when the file's last byte is not a line break.
bool EndsInCutLine(int fd, off_t size) {
  if (size <= 0) return false;
  char last = '\n';
  return pread(fd, &last, 1, size - 1) == 1 && last != '\n';
}
}  // namespace

TSaveResult AppendFileDurably(const std::filesystem::path& target, const uint8_t* data, std::size_t size) {
  // Non-blocking: a pipe put in the file's place must not hang the program.
  const int fd =
      SaveSystemCalls().Open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return Failure("open", errno);
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    const TSaveResult result = Failure("fstat", errno);
    SaveSystemCalls().Close(fd);
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    SaveSystemCalls().Close(fd);
    TSaveResult result;
    result.Fault = TSaveFault::NotAFile;
    result.Reason = "not a plain file";
    return result;
  }
  const off_t before = info.st_size;
  TSaveResult result;
  if (EndsInCutLine(fd, before)) result = WriteAllTo(fd, reinterpret_cast<const uint8_t*>("\n"), 1);
  if (result.Ok()) result = WriteAllTo(fd, data, size);
  if (result.Ok() && SaveSystemCalls().Fdatasync(fd) != 0) result = Failure("fdatasync", errno);
  // What a failed append wrote is taken back: no half line is left behind.
  if (!result.Ok() && ftruncate(fd, before) == 0) SaveSystemCalls().Fdatasync(fd);
  if (SaveSystemCalls().Close(fd) != 0 && result.Ok()) result = Failure("close", errno);
  return result;
}

#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// Replacing a file's content all or nothing. The bytes go to a temporary file
// beside the file they replace, are synced, and take its place by rename; the
// folder is synced after. A power cut leaves the old file or the new one,
// never a mix, and any failure leaves the old file as it was.

enum class TSaveFault {
  None,
  Exists,       // overwrite was not allowed and the file exists
  NotAFile,     // the target is a folder or another non-plain file
  ForeignLink,  // a link of another user in a shared sticky folder
  NotStorable,  // the content itself cannot be written (set by callers)
  System,       // a system call failed; Error holds its errno
};

struct TSaveResult {
  TSaveFault Fault = TSaveFault::None;
  int Error = 0;     // errno of the failing call
  std::string Step;  // the call that failed: "open", "write", "fdatasync", ...
  // In plain English: the system's text for Error, or what was refused. For
  // ForeignLink it names the link.
  std::string Reason;
  bool Ok() const { return Fault == TSaveFault::None; }
};

// Writes data as the whole content of target (a platform path). Links are
// followed as Linux's protected_symlinks rule allows; the file a link names
// is replaced in its own folder. An existing file keeps its permission bits;
// a new one gets 0666 less the umask. Temporary files a killed save left
// behind for the same file are removed first.
TSaveResult SaveFileDurably(const std::filesystem::path& target, const uint8_t* data, std::size_t size,
                            bool overwrite);

// Writes all of data to the open file fd through the save's system calls,
// piece by piece, going on after an interruption; a disk that takes nothing
// more is ENOSPC. Step "write" on failure.
TSaveResult WriteAllTo(int fd, const uint8_t* data, std::size_t size);

// The name a temporary file for fileName starts with: ".<fileName>.qmsave-",
// followed by six letters or digits.
std::string SaveTempPrefix(const std::string& fileName);

// The system calls a save makes, at the lowest level, so tests can fail each
// of them for real. Every entry behaves like the call of the same name.
struct TSaveSystemCalls {
  int (*Open)(const char* path, int flags, mode_t mode);
  ssize_t (*Write)(int fd, const void* data, std::size_t size);
  int (*Fdatasync)(int fd);
  int (*Fsync)(int fd);
  int (*Close)(int fd);
  int (*Rename)(const char* from, const char* to);
  int (*Unlink)(const char* path);
};
TSaveSystemCalls& SaveSystemCalls();
TSaveSystemCalls RealSaveSystemCalls();

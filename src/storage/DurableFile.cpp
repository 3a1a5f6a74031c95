#include "DurableFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace fs = std::filesystem;

namespace {
// Pieces of this size keep each call short; the data is synced once at the end.
constexpr std::size_t kWritePiece = std::size_t{1} << 20;
constexpr int kMaxLinkHops = 40;  // as the kernel allows
constexpr std::size_t kTempSuffixLength = 6;
constexpr char kTempLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

TSaveResult Failure(TSaveFault fault, int error, const char* step, std::string reason = {}) {
  TSaveResult result;
  result.Fault = fault;
  result.Error = error;
  result.Step = step;
  result.Reason = reason.empty() && error != 0 ? std::strerror(error) : std::move(reason);
  return result;
}

TSaveResult SystemFailure(const char* step) { return Failure(TSaveFault::System, errno, step); }

fs::path FolderOf(const fs::path& path) {
  const fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// Linux's protected_symlinks: in a sticky, world-writable folder a link is
// followed only when it is the follower's own or the folder owner's.
bool MayFollow(const struct stat& link, const struct stat& folder) {
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

struct TTarget {
  fs::path Path;  // the file to replace, links resolved
  bool Exists = false;
  struct stat Stat {};
};

TSaveResult ResolveTarget(const fs::path& given, TTarget& target) {
  fs::path current = given;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0) {
      if (errno != ENOENT) return SystemFailure("lstat");
      target.Path = current;
      target.Exists = false;
      return {};
    }
    if (!S_ISLNK(st.st_mode)) {
      target.Path = current;
      target.Exists = true;
      target.Stat = st;
      return {};
    }
    const fs::path folder = FolderOf(current);
    struct stat folderStat {};
    if (stat(folder.c_str(), &folderStat) != 0) return SystemFailure("stat");
    if (!MayFollow(st, folderStat))
      return Failure(TSaveFault::ForeignLink, EACCES, "link",
                     current.string() + " is a link of another user in a shared folder; it is not followed");
    std::error_code error;
    const fs::path next = fs::read_symlink(current, error);
    if (error) return Failure(TSaveFault::System, error.value(), "readlink");
    current = next.is_absolute() ? next : folder / next;
  }
  return Failure(TSaveFault::System, ELOOP, "link");
}

bool IsTempSuffix(const std::string& name, std::size_t from) {
  if (name.size() != from + kTempSuffixLength) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(from), name.end(),
                     [](char c) { return std::strchr(kTempLetters, c) != nullptr && c != '\0'; });
}

// A temporary file a killed save left behind. A save in progress holds its
// own locked, so only one nobody holds is removed.
void RemoveStaleTemps(const fs::path& folder, const std::string& fileName) {
  const std::string prefix = SaveTempPrefix(fileName);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0 || !IsTempSuffix(name, prefix.size())) continue;
    const fs::path path = folder / name;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
      SaveSystemCalls().Unlink(path.c_str());
    close(fd);
  }
  closedir(dir);
}

std::string TempName(const std::string& fileName) {
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(kTempLetters) - 2);
  std::string name = SaveTempPrefix(fileName);
  for (std::size_t i = 0; i < kTempSuffixLength; ++i) name += kTempLetters[pick(random)];
  return name;
}

// The temporary file, open for writing and locked; unlinked unless released.
class TTempFile {
 public:
  ~TTempFile() {
    if (fd_ >= 0) SaveSystemCalls().Close(fd_);
    if (!path_.empty()) SaveSystemCalls().Unlink(path_.c_str());
  }
  TSaveResult Create(const fs::path& folder, const std::string& fileName, mode_t mode) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path path = folder / TempName(fileName);
      fd_ = SaveSystemCalls().Open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
      if (fd_ >= 0) {
        path_ = path;
        flock(fd_, LOCK_EX | LOCK_NB);
        return {};
      }
      if (errno != EEXIST) return SystemFailure("open");
    }
    return Failure(TSaveFault::System, EEXIST, "open");
  }
  TSaveResult Write(const uint8_t* data, std::size_t size) { return WriteAllTo(fd_, data, size); }
  TSaveResult SyncAndClose() {
    if (SaveSystemCalls().Fdatasync(fd_) != 0) return SystemFailure("fdatasync");
    const int fd = fd_;
    fd_ = -1;  // closed even when close reports an error
    if (SaveSystemCalls().Close(fd) != 0) return SystemFailure("close");
    return {};
  }
  int Fd() const { return fd_; }
  const fs::path& Path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  int fd_ = -1;
  fs::path path_;
};

TSaveResult SyncFolder(const fs::path& folder) {
  const int fd = SaveSystemCalls().Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return SystemFailure("open folder");
  // Some file systems cannot sync a folder; the rename is as safe there as they make it.
  const bool synced = SaveSystemCalls().Fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  SaveSystemCalls().Close(fd);
  if (!synced) return Failure(TSaveFault::System, error, "fsync folder");
  return {};
}

int RealOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
}  // namespace

TSaveResult WriteAllTo(int fd, const uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t wrote = SaveSystemCalls().Write(fd, data + done, std::min(kWritePiece, size - done));
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return SystemFailure("write");
    }
    // No progress and no error: the disk takes nothing more.
    if (wrote == 0) return Failure(TSaveFault::System, ENOSPC, "write");
    done += static_cast<std::size_t>(wrote);
  }
  return {};
}

std::string SaveTempPrefix(const std::string& fileName) { return "." + fileName + ".qmsave-"; }

TSaveSystemCalls RealSaveSystemCalls() {
  return {&RealOpen, &::write, &::fdatasync, &::fsync, &::close, &::rename, &::unlink};
}

TSaveSystemCalls& SaveSystemCalls() {
  static TSaveSystemCalls calls = RealSaveSystemCalls();
  return calls;
}

TSaveResult SaveFileDurably(const fs::path& given, const uint8_t* data, std::size_t size, bool overwrite) {
  if (given.empty() || !given.has_filename()) return Failure(TSaveFault::NotAFile, EISDIR, "name");
  TTarget target;
  if (TSaveResult resolved = ResolveTarget(given, target); !resolved.Ok()) return resolved;
  if (target.Exists && !overwrite) return Failure(TSaveFault::Exists, EEXIST, "exists");
  if (target.Exists && !S_ISREG(target.Stat.st_mode))
    return Failure(TSaveFault::NotAFile, S_ISDIR(target.Stat.st_mode) ? EISDIR : EINVAL, "exists",
                   S_ISDIR(target.Stat.st_mode) ? std::string() : "not a plain file");

  // A file its owner made read-only stays so, although the folder would let
  // a rename replace it.
  if (target.Exists && faccessat(AT_FDCWD, target.Path.c_str(), W_OK, AT_EACCESS) != 0) return SystemFailure("access");

  const fs::path folder = FolderOf(target.Path);
  const std::string fileName = target.Path.filename().string();
  RemoveStaleTemps(folder, fileName);

  TTempFile temp;
  const mode_t bits = target.Exists ? (target.Stat.st_mode & 0777) : 0666;
  if (TSaveResult created = temp.Create(folder, fileName, bits); !created.Ok()) return created;
  if (target.Exists) {
    // The umask may have taken bits the old file had; ownership is kept where allowed.
    // Neither is a reason to fail: the new file is then the saver's own.
    bool kept = true;
    if (target.Stat.st_uid != geteuid() || target.Stat.st_gid != getegid())
      kept = fchown(temp.Fd(), target.Stat.st_uid, target.Stat.st_gid) == 0;
    kept = fchmod(temp.Fd(), bits) == 0 && kept;
    static_cast<void>(kept);
  }
  if (TSaveResult wrote = temp.Write(data, size); !wrote.Ok()) return wrote;
  if (TSaveResult closed = temp.SyncAndClose(); !closed.Ok()) return closed;
  if (SaveSystemCalls().Rename(temp.Path().c_str(), target.Path.c_str()) != 0) return SystemFailure("rename");
  temp.Release();
  // Past this point the new content is in place; a failed folder sync is
  // still reported, as the rename may not survive a power cut.
  return SyncFolder(folder);
}

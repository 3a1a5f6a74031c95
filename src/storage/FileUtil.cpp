#include "FileUtil.h"

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/CodePage.h"
#include "core/StrUtil.h"
#include "core/Errors.h"

namespace {
constexpr std::size_t kBlockSize = 327676;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t FirstSeparator(const std::string& path) { return path.find_first_of("\\/"); }
std::size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

TFileWarnHook& WarnHook() {
  static TFileWarnHook hook;
  return hook;
}

std::string SystemReason(int error) { return std::strerror(error); }
}  // namespace

std::string GetDrivePart(const std::string& path) {
  const std::size_t colon = path.find(':');
  if (colon == std::string::npos) return {};
  return path.substr(0, colon + 1);
}

std::string GetDirPart(const std::string& path) {
  const std::size_t first = FirstSeparator(path);
  const std::size_t last = LastSeparator(path);
  if (first == std::string::npos || last <= GetDrivePart(path).size()) return {};
  return path.substr(first + 1, last - first - 1);
}

std::string GetNamePart(const std::string& path) {
  const std::size_t last = LastSeparator(path);
  return LowerCaseAscii(last == std::string::npos ? path : path.substr(last + 1));
}

std::string GetExtPart(const std::string& path) {
  const std::string name = GetNamePart(path);
  const std::size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string GetBasePart(const std::string& path) {
  const std::string name = GetNamePart(path);
  return name.substr(0, name.find('.'));
}

std::filesystem::path NativePath(const std::string& path) {
  std::string normal(path);
  for (char& c : normal)
    if (IsSeparator(c)) c = '/';
  // Stored names are the file system's own bytes (UTF-8 on any current
  // system); only the separator differs.
  return std::filesystem::path(std::move(normal));
}

bool StoredPath(const std::filesystem::path& path, std::string& out) {
  out = path.native();
  return true;
}

std::string AppRelativeName(const std::string& appDir, const std::string& path) {
  const std::size_t n = appDir.size();
  // The program directory must end at a folder boundary of the path, or a
  // file in a neighbouring folder ("bin2" beside "bin") would be cut wrongly.
  if (n == 0 || path.size() <= n + 1 || path.compare(0, n, appDir) != 0 || !IsSeparator(path[n])) return path;
  std::string rest = path.substr(n);
  std::replace(rest.begin(), rest.end(), '/', '\\');
  return rest;
}

std::string AppDirFileName(const std::string& appDir, const std::string& stored) {
  if (stored.empty() || stored[0] != '\\') return stored;
  std::string rest = stored;
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return appDir + rest;
}

TFileWarnHook SetFileWarnHook(TFileWarnHook hook) {
  TFileWarnHook previous = std::move(WarnHook());
  WarnHook() = std::move(hook);
  return previous;
}

bool FileExistsWarn(const std::string& path, const std::string& caption, const void* owner) {
  std::error_code error;
  if (!path.empty() && std::filesystem::is_regular_file(NativePath(path), error)) return true;
  if (owner != nullptr && !caption.empty() && WarnHook()) {
    // A full path shows only its name; anything else as it was given.
    const bool fullPath = path.find(':') != std::string::npos || (!path.empty() && IsSeparator(path[0]));
    const std::string name = fullPath ? GetNamePart(path) : path;
    WarnHook()(caption, name + " - Dosn" + "'" + "t exists  ", owner);
  }
  return false;
}

bool ReadFileBlocks(const std::string& path, const TByteSink& sink, uint64_t* size) {
  if (!FileExistsWarn(path)) return false;
  const std::filesystem::path native = NativePath(path);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(native.c_str(), "rb"), &std::fclose);
  if (!file) throw TFileIoError(path, SystemReason(errno));
  std::error_code sizeError;
  const auto known = std::filesystem::file_size(native, sizeError);
  if (size != nullptr) *size = sizeError ? 0 : static_cast<uint64_t>(known);
  // A small file gets a buffer of its own size (one byte more, to see the
  // end in one read): a full block would be fresh pages, faulted in one by
  // one, for a few kilobytes of settings or texts.
  const std::size_t blockSize =
      sizeError ? kBlockSize : static_cast<std::size_t>(std::min<uintmax_t>(kBlockSize, known + 1));
  const auto block = std::make_unique_for_overwrite<uint8_t[]>(blockSize);
  for (;;) {
    const std::size_t got = std::fread(block.get(), 1, blockSize, file.get());
    if (got > 0) sink(block.get(), got);
    if (got < blockSize) {
      if (std::ferror(file.get())) throw TFileIoError(path, SystemReason(errno));
      break;
    }
  }
  if (std::fclose(file.release()) != 0) throw TFileIoError(path, SystemReason(errno));
  return true;
}

TBytes ReadFileBytes(const std::string& path) {
  TBytes bytes;
  uint64_t size = 0;
  bool first = true;
  ReadFileBlocks(
      path,
      [&](const uint8_t* data, std::size_t got) {
        if (first && size > 0) bytes.reserve(static_cast<std::size_t>(size));
        first = false;
        bytes.insert(bytes.end(), data, data + got);
      },
      &size);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const TBytes& bytes, bool overwrite, TSaveResult* result) {
  TSaveResult saved = path.empty() ? TSaveResult{TSaveFault::NotAFile, ENOENT, "name", "no file name"}
                                   : SaveFileDurably(NativePath(path), bytes.data(), bytes.size(), overwrite);
  const bool ok = saved.Ok();
  if (result != nullptr) *result = std::move(saved);
  return ok;
}

bool DeleteFileAt(const std::string& path) {
  std::error_code error;
  return std::filesystem::remove(NativePath(path), error) && !error;
}


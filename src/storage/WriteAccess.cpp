#include "WriteAccess.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "FileUtil.h"

bool CanReplaceFile(const std::string& path, std::string& reason) {
  const std::filesystem::path native = NativePath(path);
  std::filesystem::path folder = native.parent_path();
  if (folder.empty()) folder = ".";
  // A save writes a new file beside the old one and renames it over it.
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  std::error_code error;
  if (std::filesystem::exists(native, error) && access(native.c_str(), W_OK) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  return true;
}

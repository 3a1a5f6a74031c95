#include "ImportedSound.h"

#include <QUrl>
#include <filesystem>
#include <system_error>

#include "FileUtil.h"

namespace fs = std::filesystem;

std::string FindReferencedSound(const std::string& reference, const std::string& sourceFile) {
  if (reference.empty()) return {};
  fs::path path;
  if (reference.rfind("file:", 0) == 0) {
    const QUrl url(QString::fromStdString(reference));
    if (!url.isValid() || !url.isLocalFile()) return {};
    path = fs::path(url.toLocalFile().toStdString());
  } else if (reference.find("://") != std::string::npos) {
    return {};  // on the net: not fetched
  } else {
    path = NativePath(reference);
  }
  if (path.is_relative()) path = fs::absolute(NativePath(sourceFile)).parent_path() / path;
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return {};
  return path.lexically_normal().native();
}

std::string SoundNameFor(const std::string& soundPath, const std::string& langFile) {
  const fs::path folder = fs::absolute(NativePath(langFile)).parent_path().lexically_normal();
  const fs::path sound = fs::path(soundPath).lexically_normal();
  const fs::path relative = sound.lexically_relative(folder);
  if (!relative.empty() && *relative.begin() != "..") return relative.generic_string();
  return sound.native();
}

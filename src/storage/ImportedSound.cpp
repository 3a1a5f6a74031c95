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
  const fs::path folder = fs::absolute(NativePath(sourceFile)).parent_path();
  if (path.is_relative()) path = folder / path;
  std::error_code error;
  if (fs::is_regular_file(path, error)) return path.lexically_normal().native();
  // A relative URL may have its blanks and other characters %-encoded.
  if (reference.find('%') == std::string::npos || reference.find("://") != std::string::npos) return {};
  fs::path decoded(QUrl::fromPercentEncoding(QByteArray::fromStdString(reference)).toStdString());
  if (decoded.is_relative()) decoded = folder / decoded;
  if (fs::is_regular_file(decoded, error)) return decoded.lexically_normal().native();
  return {};
}

std::string SoundNameFor(const std::string& soundPath, const std::string& langFile) {
  const fs::path folder = fs::absolute(NativePath(langFile)).parent_path().lexically_normal();
  const fs::path sound = fs::path(soundPath).lexically_normal();
  const fs::path relative = sound.lexically_relative(folder);
  if (!relative.empty() && *relative.begin() != "..") return relative.generic_string();
  return sound.native();
}

#include "EncodingBackup.h"

#include "core/Errors.h"
#include "FileUtil.h"

std::string TEncodingBackup::Name(const std::string& fileName, int n) {
  return n <= 1 ? fileName + ".windows-1252.bak" : fileName + ".windows-1252." + std::to_string(n) + ".bak";
}

std::string TEncodingBackup::NextName(const std::string& fileName) {
  for (int n = 1; n <= kMaxBackups; ++n)
    if (!FileExistsWarn(Name(fileName, n))) return Name(fileName, n);
  return Name(fileName, 1);
}

bool TEncodingBackup::Keep(const std::string& fileName, std::string& path) {
  path.clear();
  if (!FileExistsWarn(fileName)) return true;
  TBytes old;
  try {
    old = ReadFileBytes(fileName);
  } catch (const TFileIoError&) {
    path = Name(fileName, 1);
    return false;
  }
  for (int n = 1; n <= kMaxBackups; ++n) {
    path = Name(fileName, n);
    if (FileExistsWarn(path)) continue;
    if (WriteFileBytes(path, old, false)) return true;
    if (!FileExistsWarn(path)) return false;  // a failed write, not a name taken meanwhile
  }
  path = Name(fileName, 1);
  return false;
}

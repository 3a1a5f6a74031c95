#pragma once
#include <string>

// Before a Windows-1252 language file becomes UTF-8, its old bytes are kept
// beside it as NAME.windows-1252.bak (NAME.windows-1252.2.bak, ... when that
// name is taken); an older backup is never replaced. The command-line
// converter keeps its backups under the same names.
class TEncodingBackup {
 public:
  static constexpr int kMaxBackups = 99;

  // The n-th name tried (1: NAME.windows-1252.bak, n: NAME.windows-1252.n.bak).
  static std::string Name(const std::string& fileName, int n);

  // The name the next backup takes: the first one free now.
  static std::string NextName(const std::string& fileName);

  // Copies the file to the first free name; path gets that name, or the one
  // whose write failed. A file that does not exist has nothing to keep: true
  // with an empty path. False when the file cannot be read or no copy could be
  // written.
  static bool Keep(const std::string& fileName, std::string& path);
};

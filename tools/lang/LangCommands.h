#pragma once
#include <ostream>
#include <string>
#include <vector>

// quillmere-lang: looks into, exports, imports, dumps and packs language
// files. Results go to out, messages to err.

enum TExitCode {
  kExitOk = 0,
  kExitFileError = 1,  // a file cannot be read or written, or is no sound language file
  kExitRejected = 2,   // wrong usage, or input rejected (nothing written)
};

// args without the program name; returns the exit status.
int RunLangTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

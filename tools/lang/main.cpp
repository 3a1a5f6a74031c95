// quillmere-lang: the command-line companion for Quillmere language files.
#include <iostream>
#include <string>
#include <vector>

#include "LangCommands.h"

int main(int argc, char* argv[]) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = RunLangTool(args, std::cout, std::cerr);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "quillmere-lang: the output could not be written\n";
    return kExitFileError;
  }
  return status;
}

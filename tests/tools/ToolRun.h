#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "LangCommands.h"

// quillmere-lang run in-process: its exit status and what it printed.
struct TToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline TToolRun RunLangCommand(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  TToolRun run;
  run.status = RunLangTool(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "LangCommands.h"

// quillmere-lang run in-process: its exit status and what it printed.
struct TRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline TRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  TRun run;
  run.status = RunLangTool(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

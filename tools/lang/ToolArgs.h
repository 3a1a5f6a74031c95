#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

// The arguments of one command: file names in order, switches such as
// --csv, and options with a value (--lang1 NAME or --lang1=NAME). "--"
// ends the options, so a file name may begin with "-".
struct TToolArgs {
  std::vector<std::string> Files;
  std::set<std::string> Switches;
  std::map<std::string, std::string> Values;
  bool Help = false;  // --help or -h anywhere
};

// False, with the reason in problem, for an option the command does not
// know, an option without its value, or an option given twice.
bool ParseToolArgs(const std::vector<std::string>& args, const std::set<std::string>& switches,
                   const std::set<std::string>& valued, TToolArgs& parsed, std::string& problem);

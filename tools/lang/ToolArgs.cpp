#include "ToolArgs.h"

bool ParseToolArgs(const std::vector<std::string>& args, const std::set<std::string>& switches,
                   const std::set<std::string>& valued, TToolArgs& parsed, std::string& problem) {
  parsed = {};
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.Files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      parsed.Help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (switches.count(name) != 0 && equals == std::string::npos) {
      parsed.Switches.insert(name);
      continue;
    }
    if (valued.count(name) == 0) {
      problem = "unknown option " + name;
      return false;
    }
    if (parsed.Values.count(name) != 0) {
      problem = "the option " + name + " is given twice";
      return false;
    }
    if (equals != std::string::npos) {
      parsed.Values[name] = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      parsed.Values[name] = args[++i];
    } else {
      problem = "the option " + name + " needs a value";
      return false;
    }
  }
  return true;
}

#pragma once
#include <string>
#include <utility>

// Ends a command with an exit status and a message; RunLangTool prints it.
struct TToolFailure {
  int Code;
  std::string Message;
};

[[noreturn]] inline void Fail(int code, std::string message) { throw TToolFailure{code, std::move(message)}; }

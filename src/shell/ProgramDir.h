#pragma once
#include <string>

// The folder of the running executable as a stored path (the file system's
// bytes), without a trailing separator.
std::string ProgramDir();

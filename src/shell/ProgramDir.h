#pragma once
#include <string>

// The folder of the running executable as a stored path, without a trailing
// separator. False when a character of it has no Windows-1252 byte.
bool ProgramDir(std::string& dir);

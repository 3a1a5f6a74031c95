#pragma once
#include <string>

// Whether a save could replace the file: its folder takes a new file and a
// rename, and an existing file may be written. False with the system's
// reason otherwise (a read-only folder or disk, missing rights). Nothing is
// written to find out.
bool CanReplaceFile(const std::string& path, std::string& reason);

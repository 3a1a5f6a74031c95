#pragma once
#include <ostream>
#include <string>

#include "ToolArgs.h"

// quillmere-lang convert FILE --to utf-8 [--from CODEPAGE] [--force]:
// rewrites a legacy language file as UTF-8, reading its bytes in the named
// Windows code page (windows-1252 unless told), after keeping its old bytes
// beside it. storedFile: args.Files[0] as the storage functions take it.
// Fails by TToolFailure; the file is then as it was.
int ConvertLangFile(const TToolArgs& args, const std::string& storedFile, std::ostream& out);

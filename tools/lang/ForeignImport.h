#pragma once
#include <ostream>
#include <string>

#include "ToolArgs.h"

// quillmere-lang import of another trainer's file into a new language file:
//   import FILE.kvtml OUT.lang [--kvtml] [--lang1-id N --lang2-id M]
//   import FILE.txt --anki OUT.lang --lang1 NAME --lang2 NAME [--lesson N]
// Both take --lang1/--lang2, --encoding, --skip-unfit and --force. Fails by
// TToolFailure; nothing is written then.
// Whether the file name ends in ".kvtml", in any letter case.
bool HasKvtmlName(const std::string& arg);
int ImportKvtmlCommand(const TToolArgs& args, std::ostream& out);
int ImportAnkiCommand(const TToolArgs& args, std::ostream& out);

#pragma once
#include <ostream>

#include "ToolArgs.h"

// quillmere-lang export FILE.lang --kvtml: the file as KVTML 2 on standard
// output, as the table export writes its table there.
int ExportKvtmlCommand(const TToolArgs& args, std::ostream& out);

#pragma once
#include <string>

#include "core/Bytes.h"

// The stored container of raw text: lines are not split or checked, so a
// file can hold what the writer never would (a NUL, a lone CR or LF, a
// negative lesson) and still pass the checksum.
TBytes StoredImage(const std::string& text);

#include <vector>

// The stored container of these lines, as the writer makes it.
TBytes ContainerOf(const std::vector<std::string>& lines);
// The lines of a stored container; a failed check fails the test.
std::vector<std::string> LinesOf(const TBytes& stored);

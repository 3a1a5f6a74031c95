#pragma once
#include <cstdint>
#include <vector>

// A growable array of bytes, 0-based.
using TBytes = std::vector<uint8_t>;

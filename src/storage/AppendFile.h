#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "DurableFile.h"

// Adds bytes at the end of a log file (made when missing) and syncs them.
// The bytes go in whole lines: a file that does not end in a line break
// (an earlier write cut off by a crash) gets one first, so the cut line
// stays the only damaged one. A write that fails midway is taken back, so
// a full disk leaves the file as it was. Uses the save's system calls, so
// tests can fail them for real.
TSaveResult AppendFileDurably(const std::filesystem::path& target, const uint8_t* data, std::size_t size);

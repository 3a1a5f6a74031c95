#include "WaveInfo.h"

#include <cstring>

namespace {
uint32_t Le32(const TBytes& b, std::size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
bool Tag(const TBytes& b, std::size_t at, const char* tag) {
  return at + 4 <= b.size() && std::memcmp(b.data() + at, tag, 4) == 0;
}
}  // namespace

int64_t WaveDurationMs(const TBytes& head, int64_t fileSize) {
  if (head.size() < 12 || !Tag(head, 0, "RIFF") || !Tag(head, 8, "WAVE")) return -1;
  uint32_t byteRate = 0;
  std::size_t at = 12;
  while (at + 8 <= head.size()) {
    const uint32_t size = Le32(head, at + 4);
    if (Tag(head, at, "fmt ")) {
      if (size < 16 || at + 8 + 16 > head.size()) return -1;
      byteRate = Le32(head, at + 8 + 8);
    } else if (Tag(head, at, "data")) {
      if (byteRate == 0) return -1;
      // A streamed file may leave the size open; the file's end bounds it.
      const int64_t rest = fileSize - static_cast<int64_t>(at + 8);
      int64_t dataSize = size;
      if (rest >= 0 && (dataSize == 0 || dataSize > rest)) dataSize = rest;
      return dataSize * 1000 / byteRate;
    }
    at += 8 + static_cast<std::size_t>(size) + (size & 1);
  }
  return -1;
}

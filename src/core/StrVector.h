#pragma once
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "Bytes.h"
#include "SlotVector.h"

// The text of one line's bytes: it ends before the first NUL byte.
inline std::string_view LineTextView(const uint8_t* data, std::size_t size) {
  if (size > 0) {
    const void* nul = std::memchr(data, 0, size);
    if (nul != nullptr) size = static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - data);
  }
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Splits bytes into lines and hands each to fn as a text that ends before
// its first NUL byte. A line ends at the first byte that is CR or is followed
// by LF; the next line starts two bytes further on. An unterminated last line
// is taken as a line. Never reads past the end.
template <typename Fn>
void ForEachByteLine(const uint8_t* data, std::size_t size, Fn&& fn) {
  constexpr uint8_t kCR = 13;
  constexpr uint8_t kLF = 10;
  std::size_t start = 0;
  while (start < size) {
    std::size_t p = start;
    while (p < size && data[p] != kCR && !(p + 1 < size && data[p + 1] == kLF)) ++p;
    fn(LineTextView(data + start, p - start));
    start = p + 2;
  }
}

// Slot vector of 8-bit texts; the lines of language files and of the text
// database pass through it.
class TStrVector : public TSlotVector<std::string> {
 public:
  // TextToBytes of the text at index.
  TBytes GetBytes(int32_t index) const;
  // Adds BytesToText of the bytes.
  bool AddBytesLine(const TBytes& bytes);
  // Splits the bytes into lines and adds each. A line ends at the first byte
  // that is CR or is followed by LF; reading resumes two bytes further on.
  // An unterminated last line is taken as a line. Never reads past the end.
  bool AddLinesFromBytes(const TBytes& bytes);
  bool AddLinesFromBytes(const uint8_t* data, std::size_t size);
  // The non-empty texts of slots 0 to Count - 1, in order.
  std::vector<std::string> NonEmptyItems() const;
};

#pragma once
#include <string>
#include <vector>

#include "Bytes.h"
#include "SlotVector.h"

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

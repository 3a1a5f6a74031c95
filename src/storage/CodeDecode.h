#pragma once
#include <string_view>

#include "core/Bytes.h"
#include "core/StrVector.h"

// The scrambled container of language files and the text database:
//   header byte 204, each line followed by CR LF, an XOR checksum byte,
// the whole image XORed with the rolling key 1, 2, ..., 254, 1, 2, ...

constexpr uint8_t kContainerHeader = 204;
// A line holds at most this many characters (its length plus CR LF fits 16 bits).
constexpr std::size_t kMaxContainerLine = 65533;

// A copy with every byte XORed with its key; its own inverse.
TBytes ScrambleBytes(const TBytes& bytes);
void ScrambleInPlace(TBytes& bytes);

// Whether the last byte equals the XOR of all bytes before it; with store the
// last byte is set to that value first.
bool XorCheck(TBytes& bytes, bool store);

// Unscrambles in place and checks header and checksum. On failure (also for
// fewer than two bytes) the array is back as it came.
bool UnscrambleAndCheck(TBytes& bytes);

// Optionally unscrambles, then checks header and checksum and removes both.
// False, and the array unchanged, when a check fails or it is shorter than two bytes.
bool OpenContainer(TBytes& bytes, bool unscrambleFirst);

// The stored (scrambled) container of the lines.
TBytes StringsToContainer(const TStrVector& lines);

// Unscrambles, checks and opens the container and appends its lines. False,
// and the list unchanged, when the header or the checksum is wrong.
bool ContainerToStrings(const TBytes& bytes, TStrVector& lines);

// Assembles a container line by line without keeping a line list: the
// language file writer streams its lines straight into the image.
class TContainerBuilder {
 public:
  // expectedBytes: a guess of the image size, to allocate once.
  explicit TContainerBuilder(std::size_t expectedBytes = 0);
  void AddLine(std::string_view line);
  std::size_t LineCount() const { return lineCount_; }
  // Sets the checksum and scrambles; the builder is empty afterwards.
  TBytes Finish();

 private:
  TBytes image_;
  std::size_t lineCount_ = 0;
};

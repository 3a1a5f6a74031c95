#pragma once
#include <functional>
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
// Scrambles in place bytes that stand at the given position of a container,
// for reading one block after the other.
void ScrambleAt(uint8_t* data, std::size_t size, uint64_t position);

// Whether the last byte equals the XOR of all bytes before it; with store the
// last byte is set to that value first.
bool XorCheck(TBytes& bytes, bool store);

// Unscrambles in place and checks header and checksum. On failure (also for
// fewer than two bytes) the array is back as it came.
bool UnscrambleAndCheck(TBytes& bytes);

// Optionally unscrambles, then checks header and checksum and removes both.
// False, and the array unchanged, when a check fails or it is shorter than two bytes.
bool OpenContainer(TBytes& bytes, bool unscrambleFirst);

// Whether the line comes back as it is from a container: at most
// kMaxContainerLine characters and no CR, LF or NUL (they would split or cut it).
bool FitsContainerLine(std::string_view line);
// Whether the line holds a CR, LF or NUL, whatever its length.
bool SplitsContainerLine(std::string_view line);

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
  // Adds a UTF-8 line in Windows-1252 bytes; returns their count, or -1
  // (nothing added) when a character has no byte.
  int64_t AddLineAsCp1252(std::string_view utf8);
  std::size_t LineCount() const { return lineCount_; }
  // Sets the checksum and scrambles; the builder is empty afterwards.
  TBytes Finish();

 private:
  TBytes image_;
  std::size_t lineCount_ = 0;
};

// Reads a stored container block by block and hands out its lines as soon as
// they are complete, so that a large file is never held whole. The lines
// come before the checksum can be known: a caller keeps what it builds from
// them apart until Finish says the container holds.
class TContainerReader {
 public:
  using TLineFn = std::function<void(std::string_view line)>;
  explicit TContainerReader(TLineFn onLine);

  // The next scrambled bytes of the container.
  void Feed(const uint8_t* data, std::size_t size);
  // No more lines are handed out; the bytes are still checked.
  void StopLines() { linesWanted_ = false; }
  // Hands out the last lines; true when header and checksum hold.
  bool Finish();

  // For the line being handed out: whether its text was cut at a NUL, and
  // whether it ended in a lone CR or LF (the byte beside it is lost).
  bool LineCutAtNul() const { return lineCut_; }
  bool LineEndBroken() const { return lineEndBroken_; }

 private:
  // Hands out the complete lines among the bytes before the held-back last
  // one (a checksum if nothing follows); at the end also an unterminated one.
  void SplitLines(bool atEnd);

  TLineFn onLine_;
  uint64_t position_ = 0;
  uint8_t xor_ = 0;
  bool headerOk_ = true;
  bool linesWanted_ = true;
  // Unscrambled bytes not yet handed out, from start_; scanning for the end
  // of the current line resumes at scan_.
  TBytes pending_;
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t start_ = 1;  // after the header byte
  std::size_t scan_ = 1;
  std::size_t nul_ = kNone;  // the first NUL of the current line
  bool lineCut_ = false;
  bool lineEndBroken_ = false;
};

#include "CodeDecode.h"

#include "core/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr uint8_t kCR = 13;
constexpr uint8_t kLF = 10;
constexpr std::size_t kKeyPeriod = 254;

// The keys 1, 2, ..., 254 of one period; whole periods are XORed from the
// table so that the loop vectorises.
constexpr std::array<uint8_t, kKeyPeriod> MakeKeys() {
  std::array<uint8_t, kKeyPeriod> keys{};
  for (std::size_t i = 0; i < kKeyPeriod; ++i) keys[i] = static_cast<uint8_t>(i + 1);
  return keys;
}
constexpr std::array<uint8_t, kKeyPeriod> kKeys = MakeKeys();

uint8_t XorOf(const uint8_t* data, std::size_t size) {
  uint64_t wide = 0;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    wide ^= word;
  }
  wide ^= wide >> 32;
  wide ^= wide >> 16;
  wide ^= wide >> 8;
  auto check = static_cast<uint8_t>(wide);
  for (; i < size; ++i) check ^= data[i];
  return check;
}

// Bytes that may end a line (CR, LF) or cut its text (NUL).
constexpr std::array<bool, 256> MakeSpecial() {
  std::array<bool, 256> special{};
  special[0] = special[kCR] = special[kLF] = true;
  return special;
}
constexpr std::array<bool, 256> kSpecial = MakeSpecial();

// The first byte in [p, end) that is NUL, LF or CR, or end. Sixteen bytes
// at a time where SSE2 is there, eight at a time elsewhere.
const uint8_t* FindSpecial(const uint8_t* p, const uint8_t* end) {
#if defined(__SSE2__)
  const __m128i nul = _mm_setzero_si128();
  const __m128i lf = _mm_set1_epi8(static_cast<char>(kLF));
  const __m128i cr = _mm_set1_epi8(static_cast<char>(kCR));
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, nul), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (mask != 0) return p + __builtin_ctz(mask);
    p += 16;
  }
#else
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighs = 0x8080808080808080ULL;
  auto hasZero = [](uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  while (end - p >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if ((hasZero(w) | hasZero(w ^ (kOnes * kLF)) | hasZero(w ^ (kOnes * kCR))) != 0) break;
    p += 8;
  }
#endif
  while (p < end && !kSpecial[*p]) ++p;
  return p;
}

bool HeaderAndChecksumHold(TBytes& bytes) { return bytes.size() >= 2 && bytes[0] == kContainerHeader && XorCheck(bytes, false); }
}  // namespace

void ScrambleAt(uint8_t* data, std::size_t size, uint64_t position) {
  std::size_t key = static_cast<std::size_t>(position % kKeyPeriod);
  while (size > 0) {
    const std::size_t n = std::min(size, kKeyPeriod - key);
    const uint8_t* keys = kKeys.data() + key;
    for (std::size_t i = 0; i < n; ++i) data[i] ^= keys[i];
    data += n;
    size -= n;
    key = 0;
  }
}

void ScrambleInPlace(TBytes& bytes) { ScrambleAt(bytes.data(), bytes.size(), 0); }

TBytes ScrambleBytes(const TBytes& bytes) {
  TBytes copy(bytes);
  ScrambleInPlace(copy);
  return copy;
}

bool XorCheck(TBytes& bytes, bool store) {
  if (bytes.empty()) return false;
  const uint8_t check = XorOf(bytes.data(), bytes.size() - 1);
  if (store) bytes.back() = check;
  return bytes.back() == check;
}

bool UnscrambleAndCheck(TBytes& bytes) {
  if (bytes.size() < 2) return false;
  ScrambleInPlace(bytes);
  if (HeaderAndChecksumHold(bytes)) return true;
  ScrambleInPlace(bytes);  // back as it came
  return false;
}

bool OpenContainer(TBytes& bytes, bool unscrambleFirst) {
  if (unscrambleFirst) {
    if (!UnscrambleAndCheck(bytes)) return false;
  } else if (!HeaderAndChecksumHold(bytes)) {
    return false;
  }
  bytes.pop_back();
  bytes.erase(bytes.begin());
  return true;
}

bool FitsContainerLine(std::string_view line) { return line.size() <= kMaxContainerLine && !SplitsContainerLine(line); }

bool SplitsContainerLine(std::string_view line) {
  const auto* d = reinterpret_cast<const uint8_t*>(line.data());
  return FindSpecial(d, d + line.size()) != d + line.size();
}

TBytes StringsToContainer(const TStrVector& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines.Items()) size += line.size() + 2;
  TContainerBuilder builder(size + 2);
  for (const std::string& line : lines.Items()) builder.AddLine(line);
  return builder.Finish();
}

bool ContainerToStrings(const TBytes& bytes, TStrVector& lines) {
  if (bytes.size() < 2) return false;
  TBytes image(bytes);
  if (!UnscrambleAndCheck(image)) return false;
  lines.AddLinesFromBytes(image.data() + 1, image.size() - 2);
  return true;
}

TContainerBuilder::TContainerBuilder(std::size_t expectedBytes) {
  image_.reserve(expectedBytes);
  image_.push_back(kContainerHeader);
}

int64_t TContainerBuilder::AddLineAsCp1252(std::string_view utf8) {
  const std::size_t base = image_.size();
  image_.resize(base + utf8.size() + 2);
  char* const start = reinterpret_cast<char*>(image_.data() + base);
  bool encodable = true;
  char* end = Utf8ToCp1252Into(utf8, start, encodable);
  if (!encodable) {
    image_.resize(base);
    return -1;
  }
  *end++ = static_cast<char>(kCR);
  *end++ = static_cast<char>(kLF);
  image_.resize(static_cast<std::size_t>(reinterpret_cast<uint8_t*>(end) - image_.data()));
  ++lineCount_;
  return end - start - 2;
}

void TContainerBuilder::AddLine(std::string_view line) {
  image_.insert(image_.end(), line.begin(), line.end());
  image_.push_back(kCR);
  image_.push_back(kLF);
  ++lineCount_;
}

TBytes TContainerBuilder::Finish() {
  image_.push_back(0);
  XorCheck(image_, true);
  ScrambleInPlace(image_);
  TBytes result = std::move(image_);
  image_.clear();
  image_.push_back(kContainerHeader);
  lineCount_ = 0;
  return result;
}

TContainerReader::TContainerReader(TLineFn onLine) : onLine_(std::move(onLine)) {}

void TContainerReader::Feed(const uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::size_t old = pending_.size();
  pending_.insert(pending_.end(), data, data + size);
  uint8_t* fresh = pending_.data() + old;
  ScrambleAt(fresh, size, position_);
  xor_ ^= XorOf(fresh, size);
  if (position_ == 0 && fresh[0] != kContainerHeader) headerOk_ = linesWanted_ = false;
  position_ += size;
  if (!linesWanted_) {
    pending_.clear();  // only the checksum matters now
    start_ = scan_ = 0;
    return;
  }
  SplitLines(false);
  // Drop what was handed out once it is the larger part, so that moving
  // the rest costs no more than reading it did.
  if (start_ > 1 && start_ >= pending_.size() / 2) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(start_));
    scan_ -= start_;
    if (nul_ != kNone) nul_ -= start_;
    start_ = 0;
  }
}

// A line ends at the first byte that is CR or is followed by LF; its text
// ends before its first NUL. One pass over each byte, resumed where the
// previous block left off.
void TContainerReader::SplitLines(bool atEnd) {
  if (pending_.empty()) return;
  const uint8_t* d = pending_.data();
  const std::size_t end = pending_.size() - 1;  // the last byte is held back
  while (linesWanted_ && start_ < end) {
    std::size_t p = std::max(start_, scan_);
    std::size_t stop = end;
    bool broken = false;
    while (p < end) {
      p = static_cast<std::size_t>(FindSpecial(d + p, d + end) - d);
      if (p == end) break;
      if (d[p] == kCR) {
        stop = p;
        // Reading resumes two bytes on: a CR without its LF loses the next byte.
        broken = p + 1 < end && d[p + 1] != kLF;
        break;
      }
      if (d[p] == kLF && p > start_) {
        // The byte before a lone LF ends the line and is lost.
        stop = p - 1;
        broken = true;
        break;
      }
      if (d[p] == 0 && nul_ == kNone) nul_ = p;
      ++p;
    }
    if (stop == end && !atEnd) {
      // Whether the last known byte ends the line depends on the next one.
      scan_ = std::max(start_, end - 1);
      return;
    }
    lineCut_ = nul_ < stop;
    lineEndBroken_ = broken;
    onLine_(std::string_view(reinterpret_cast<const char*>(d + start_), std::min(stop, nul_) - start_));
    start_ = scan_ = stop + 2;
    nul_ = kNone;
  }
}

bool TContainerReader::Finish() {
  // The checksum makes the XOR of all bytes 0.
  if (position_ < 2 || !headerOk_ || xor_ != 0) return false;
  SplitLines(true);
  return true;
}

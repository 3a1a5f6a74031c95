#include "CodeDecode.h"

#include <array>

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
  uint8_t check = 0;
  for (std::size_t i = 0; i < size; ++i) check ^= data[i];
  return check;
}

bool HeaderAndChecksumHold(TBytes& bytes) { return bytes.size() >= 2 && bytes[0] == kContainerHeader && XorCheck(bytes, false); }
}  // namespace

void ScrambleInPlace(TBytes& bytes) {
  uint8_t* data = bytes.data();
  std::size_t rest = bytes.size();
  while (rest > 0) {
    const std::size_t n = rest < kKeyPeriod ? rest : kKeyPeriod;
    for (std::size_t i = 0; i < n; ++i) data[i] ^= kKeys[i];
    data += n;
    rest -= n;
  }
}

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

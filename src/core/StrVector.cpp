#include "StrVector.h"

#include <cstring>

namespace {
// One character per byte; the text ends before the first NUL.
std::string LineText(const uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const void* nul = std::memchr(data, 0, size);
  if (nul != nullptr) size = static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - data);
  return std::string(reinterpret_cast<const char*>(data), size);
}
}  // namespace

TBytes TStrVector::GetBytes(int32_t index) const {
  const std::string& text = Get(index);
  return TBytes(text.begin(), text.end());
}

bool TStrVector::AddBytesLine(const TBytes& bytes) { return Add(LineText(bytes.data(), bytes.size())); }

bool TStrVector::AddLinesFromBytes(const TBytes& bytes) { return AddLinesFromBytes(bytes.data(), bytes.size()); }

bool TStrVector::AddLinesFromBytes(const uint8_t* data, std::size_t size) {
  bool ok = true;
  ForEachByteLine(data, size, [&](std::string_view line) { ok = Add(std::string(line)) && ok; });
  return ok;
}

std::vector<std::string> TStrVector::NonEmptyItems() const {
  std::vector<std::string> result;
  for (const std::string& item : items_)
    if (!item.empty()) result.push_back(item);
  return result;
}

#include "StrVector.h"

#include <cstring>

TBytes TStrVector::GetBytes(int32_t index) const {
  const std::string& text = Get(index);
  return TBytes(text.begin(), text.end());
}

bool TStrVector::AddBytesLine(const TBytes& bytes) { return Add(std::string(LineTextView(bytes.data(), bytes.size()))); }

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

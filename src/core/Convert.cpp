#include "Convert.h"

#include <charconv>

#include "Errors.h"

bool TryStrToInt(std::string_view text, int32_t& value) {
  if (TryPlainDigits(text, value)) return true;
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') {
    ++first;
    if (first == last || *first == '-') return false;
  }
  int32_t parsed = 0;
  auto [end, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || end != last) return false;
  value = parsed;
  return true;
}

void ThrowNoInteger(std::string_view text) { throw TConversionError(std::string(text)); }

std::string IntToStr(int64_t value) { return std::to_string(value); }

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

int32_t StrToIntChecked(std::string_view text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw TConversionError(std::string(text));
  return value;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

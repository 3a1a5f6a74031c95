#include "Convert.h"

#include <charconv>

#include "Errors.h"

bool TryStrToInt(std::string_view text, int32_t& value) {
  // Up to nine plain digits cannot overflow: the usual pair and lesson number.
  if (!text.empty() && text.size() <= 9) {
    uint32_t digits = 0;  // wraps harmlessly on other characters
    bool plain = true;
    for (const char c : text) {
      plain = plain && c >= '0' && c <= '9';
      digits = digits * 10 + static_cast<uint32_t>(static_cast<unsigned char>(c) - '0');
    }
    if (plain) {
      value = static_cast<int32_t>(digits);
      return true;
    }
  }
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

int32_t StrToInt(std::string_view text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw TConversionError(std::string(text));
  return value;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

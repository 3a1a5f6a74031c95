#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Decimal integers as the files store them: an optional sign and digits, no
// blanks, within 32 bits.
bool TryStrToInt(std::string_view text, int32_t& value);

// Up to nine plain digits, the usual pair and lesson number, read in place
// (they cannot overflow); false for anything else.
inline bool TryPlainDigits(std::string_view text, int32_t& value) {
  if (text.empty() || text.size() > 9) return false;
  uint32_t digits = 0;  // wraps harmlessly on other characters
  bool plain = true;
  for (const char c : text) {
    plain = plain && c >= '0' && c <= '9';
    digits = digits * 10 + static_cast<uint32_t>(static_cast<unsigned char>(c) - '0');
  }
  if (plain) value = static_cast<int32_t>(digits);
  return plain;
}

[[noreturn]] void ThrowNoInteger(std::string_view text);

// As TryStrToInt, but a text that is no integer raises TConversionError.
// Inline for the plain digits of every pair line.
inline int32_t StrToInt(std::string_view text) {
  int32_t value = 0;
  if (!TryPlainDigits(text, value) && !TryStrToInt(text, value)) ThrowNoInteger(text);
  return value;
}

std::string IntToStr(int64_t value);

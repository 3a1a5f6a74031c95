#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Decimal integers as the files store them: an optional sign and digits, no
// blanks, within 32 bits.
bool TryStrToInt(std::string_view text, int32_t& value);

// As TryStrToInt, but a text that is no integer raises TConversionError.
int32_t StrToInt(std::string_view text);

std::string IntToStr(int64_t value);

#include "EncodingNames.h"

#include <string>

const char* EncodingName(TTextEncoding encoding) {
  return encoding == TTextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

std::optional<TTextEncoding> ParseEncodingName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower == "utf-8") return TTextEncoding::Utf8;
  if (lower == "windows-1252") return TTextEncoding::Cp1252;
  return std::nullopt;
}

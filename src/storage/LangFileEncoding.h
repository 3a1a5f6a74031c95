#pragma once
#include <string_view>

#include "core/TextEncoding.h"

// The first line of a UTF-8 language file, before "[General]". Readers that
// do not know it skip it with every other line before "[General]"; a file
// without it is Windows-1252.
constexpr std::string_view kUtf8EncodingLine = "Encoding=UTF-8";

// The line that names the locales of the two languages ("Locales=de@ru"),
// also before "[General]", after the encoding line; a file without it names none.
constexpr std::string_view kLocalesPrefix = "Locales=";

// Whether a text can stand as a locale in that line: letters, digits, "-"
// and "_", at most 35 of them (BCP 47 tags such as "de", "zh-Hans", "pt_BR").
inline bool IsLocaleName(std::string_view text) {
  if (text.size() > 35) return false;
  for (char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_')) return false;
  return true;
}

#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "Bytes.h"

// -1 for a match, otherwise the number of equal characters from start on.
// With start 0 and count 0: -1 exactly when both texts are equal and not
// empty; with count n > 0 also when the first n characters agree.
int CompareFrom(std::string_view a, std::string_view b, int start, int count);

// CompareFrom on the case-folded forms of both texts (any script).
int CompareFromNoCase(std::string_view a, std::string_view b, int start, int count);

// -1, 0 or 1 as a sorts before, equal to or after b in the user's locale
// collation (a with umlaut beside a, not after z).
int CompareTexts(const std::string& a, const std::string& b, bool ignoreCase);

// Upper case of a UTF-8 text, character by character by the Unicode rules
// ("ä" becomes "Ä", "я" "Я"; a sharp s stays).
std::string UpperCase(std::string_view text);
// Lower case of the 26 letters A to Z only.
std::string LowerCaseAscii(const std::string& text);

// One byte per character.
TBytes TextToBytes(const std::string& text);
// One character per byte; the text ends before the first NUL byte.
std::string BytesToText(const TBytes& bytes);

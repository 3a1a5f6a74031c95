#pragma once
#include <QString>
#include <string>
#include <string_view>

// Texts stay 8-bit Windows-1252 in the core; they become Unicode only at the
// window and file-system boundaries. Every byte has a character (the five
// bytes Windows-1252 leaves undefined map to the control characters of the
// same number), so bytes -> Unicode -> bytes is exact.

char16_t Cp1252ToUnicode(unsigned char byte);
// The byte for a character, or -1 when Windows-1252 cannot hold it.
int UnicodeToCp1252(char32_t ch);

QString Cp1252ToQString(std::string_view text);
std::string Cp1252ToUtf8(std::string_view text);

// Converts, or returns false and tells the first character that has no byte
// (badChar) and its 0-based position in the input (badPos).
bool QStringToCp1252(const QString& text, std::string& out, QChar* badChar = nullptr, int* badPos = nullptr);
bool Utf8ToCp1252(std::string_view utf8, std::string& out, char32_t* badChar = nullptr,
                  std::size_t* badPos = nullptr);

// Upper case of one byte by the Unicode rules of its character (a with
// umlaut becomes A with umlaut, y with diaeresis becomes Y with diaeresis; a
// sharp s has no one-byte upper case and stays).
unsigned char UpperCase1252(unsigned char byte);

#pragma once
#include <QString>
#include <string>
#include <string_view>

// Every text in memory is UTF-8. Windows-1252 is the encoding of older
// language files and of the packed interface texts: they are converted when
// read and, for a language file, written back in its own bytes. Every
// Windows-1252 byte has a character (the five bytes it leaves undefined map to
// the control characters of the same number), so bytes -> UTF-8 -> bytes is
// exact.

// The window boundary.
QString Utf8ToQString(std::string_view text);
// A lone surrogate (no character) becomes U+FFFD.
std::string QStringToUtf8(const QString& text);

bool IsAscii(std::string_view text);
// The first count characters; never cuts one in two.
std::string Utf8Left(std::string_view text, std::size_t count);
bool IsValidUtf8(std::string_view text);
// Characters (code points) of a UTF-8 text: the bytes that are not continuation bytes.
std::size_t Utf8Length(std::string_view text);
// Appends the character's UTF-8 bytes.
void AppendUtf8(std::string& out, char32_t ch);

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

// The UTF-8 form of Windows-1252 bytes written to out, which has room for
// three bytes each; returns the end. Plain ASCII is copied eight bytes at a
// time: a load converts every line of an older file that is not ASCII.
char* Cp1252ToUtf8Into(std::string_view text, char* out);
// The Windows-1252 bytes of a UTF-8 text written to out, which has room for
// utf8.size() bytes (never more are needed); returns the end, and encodable
// false when a character has none (out then holds a part). A save converts
// each line of an older file so.
char* Utf8ToCp1252Into(std::string_view utf8, char* out, bool& encodable);

// Upper case of one byte by the Unicode rules of its character (a with
// umlaut becomes A with umlaut, y with diaeresis becomes Y with diaeresis; a
// sharp s has no one-byte upper case and stays).
unsigned char UpperCase1252(unsigned char byte);

#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/Bytes.h"

// The readable source of the interface text database: one UTF-8 file per
// language, named after its two-letter code ("EN.txt"), with lines
// "number=text". Lines starting with "#" and blank lines are comments.

struct TSourceText {
  int32_t Nbr = 0;
  std::string Text;  // Windows-1252
  int LineNbr = 0;   // 1-based line in the source file
};

struct TTextSource {
  std::string Code;      // "EN", "DE"
  std::string FileName;  // as given, for messages
  std::vector<TSourceText> Texts;
};

// The code a source file name gives: its name before the first ".",
// upper-cased, when that is two letters A-Z; otherwise empty.
std::string LanguageCodeOf(const std::string& fileName);

// Reads one source from its UTF-8 bytes. False with a message naming file
// and line for a line that is not "number=text", a number outside 0..65535,
// a number given twice, a control character, or a character Windows-1252
// cannot hold.
bool ParseTextSource(const std::string& fileName, const std::string& code, const std::string& utf8, TTextSource& out,
                     std::string& error);

// The languages must agree on their numbers, and no text may hold a section
// header ("[EN]", "[##]") that would cut or hijack a section. False with a
// message naming file and line.
bool CheckTextSources(const std::vector<TTextSource>& sources, std::string& error);

// The bytes of Text.Db: for each language "[XX]", its lines, "[##]", all in
// the scrambled container, followed by the byte 0 trailer (scrambled too).
TBytes PackTextDb(const std::vector<TTextSource>& sources);

#pragma once
#include <string>
#include <string_view>

// The texts a language file stores without escapes, and what each must not
// hold so that its line reads back as it was written: the pair line
//   PearNbr "=" Word1 "@" Word2 "#" WavFile1 "@" WavFile2 marker
// splits at the first "@" and "#", a last "*" or "\xA7" is the marker, and
// the names line "Lang1Name@Lang2Name" splits at its first "@".

enum class TPairField { Word1, Word2, WavFile1, WavFile2, Lang1Name, Lang2Name };

// The column or option name the user knows the field by (word1, --lang1, ...).
const char* PairFieldName(TPairField field);

// Converts a UTF-8 text to Windows-1252. Empty when it converts; otherwise
// the reason, such as: contains "ő" (U+0151), which Windows-1252 cannot hold.
std::string ConvertUtf8(std::string_view utf8, std::string& cp1252);

// Converts a UTF-8 text to Windows-1252 and checks it for the field. Empty
// when it may stand there as it is; otherwise the reason, naming the field
// (for instance: word1 contains "@", which separates the fields of a
// language file line). Phrases and language names must not be empty or
// blank; a phrase must not be longer than the lesson editor takes.
std::string CheckPairField(TPairField field, std::string_view utf8, std::string& cp1252);

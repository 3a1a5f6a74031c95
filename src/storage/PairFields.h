#pragma once
#include <string>
#include <string_view>

#include "TableReason.h"
#include "core/TextEncoding.h"

// The texts a language file stores without escapes, and what each must not
// hold so that its line reads back as it was written: the pair line
//   PearNbr "=" Word1 "@" Word2 "#" WavFile1 "@" WavFile2 marker
// splits at the first "@" and "#", a last "*" or "\u00A7" is the marker, and
// the names line "Lang1Name@Lang2Name" splits at its first "@".

enum class TPairField { Word1, Word2, WavFile1, WavFile2, Lang1Name, Lang2Name };

// The column or option name the user knows the field by (word1, --lang1, ...).
const char* PairFieldName(TPairField field);

// Checks that a UTF-8 text can be stored in a file of the target encoding
// and copies it to out (texts stay UTF-8 in memory). Empty when it can;
// otherwise the reason, such as: is not valid UTF-8, or contains "ő"
// (U+0151), which Windows-1252 cannot hold.
std::string ConvertUtf8(std::string_view utf8, std::string& out, TTextEncoding target);

// The same, and checks the text for the field. Empty
// when it may stand there as it is; otherwise the reason, naming the field
// (for instance: word1 contains "@", which separates the fields of a
// language file line). Phrases and language names must not be empty or
// blank; a phrase must not be longer than the lesson editor takes.
std::string CheckPairField(TPairField field, std::string_view utf8, std::string& text,
                           TTextEncoding target = TTextEncoding::Utf8);

// The same check as a code with the values it names (the field's name first).
TTableProblem PairFieldProblem(TPairField field, std::string_view utf8, std::string& text,
                               TTextEncoding target = TTextEncoding::Utf8);

#pragma once
#include <string>

// The language files the benchmarks read: the same pairs as an older
// Windows-1252 file and as a UTF-8 file, and a UTF-8 file with Russian in
// place of the German.
enum class TBenchFile { LegacyGerman, Utf8German, Utf8Russian };

// A language file of the given number of pairs in 100 lessons (1 to 100),
// phrases of everyday length, a quarter with sound files, three quarters in
// use; made once per run in a temporary folder.
const std::string& FileOf(int pairs, TBenchFile kind = TBenchFile::LegacyGerman);

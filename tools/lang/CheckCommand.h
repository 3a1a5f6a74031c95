#pragma once
#include <cstdint>
#include <ostream>
#include <set>
#include <string>

class TLangFHandler;

struct TCheckOutcome {
  int Checked = 0;  // pair sides with a sound
  int Faults = 0;
};

// Measures every sound the file's pairs name (each file once) and writes
// one line per fault, naming lesson, pair, side and the sound, then a
// summary line. lessons empty: every lesson. langFile is the language
// file's absolute path: names relative to the program folder
// ("\LangFiles\...") resolve against the folder above its LangFiles folder.
TCheckOutcome CheckSounds(const TLangFHandler& handler, const std::string& langFile, const std::set<int32_t>& lessons,
                          std::ostream& out);

// Where a stored sound name points, seen from the language file.
std::string ResolveSoundPath(const std::string& name, const std::string& langFile);

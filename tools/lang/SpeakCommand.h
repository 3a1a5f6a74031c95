#pragma once
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

class TLangFHandler;

struct TSpeakRequest {
  std::set<int32_t> Lessons;  // empty: every lesson
  // Override the file's locales (and are stored in it).
  std::string Locale1, Locale2;
  // The speech program; a test may name another.
  std::string Engine = "espeak-ng";
};

struct TSpeakOutcome {
  int Made = 0;
  std::vector<std::string> Problems;  // one line each, naming lesson, pair and side
};

// Writes a WAV, spoken by espeak-ng in the side's language, for every pair
// side without a sound, into the folder where the file's sounds go (its
// other sounds' folder, else the language file's own), and names it in the
// pair: relative to the data folder ("\LangFiles\...") when the file lies
// below a LangFiles folder, else by its full path. Sounds of the same text
// and language are one file. The caller saves the handler. Fails by
// TToolFailure when a side's language is unknown or there is no engine.
TSpeakOutcome SpeakMissing(TLangFHandler& handler, const std::string& storedFile, const TSpeakRequest& request,
                           std::ostream& out);

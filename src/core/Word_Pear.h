#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "PearText.h"

// One phrase pair: a phrase in each language, an optional sound file for each
// side (a single blank when none), its number in its lesson and the flags
// that steer composition. Its pair line is how it is stored in a language file:
//   PearNbr "=" Word1 "@" Word2 "#" WavFile1 "@" WavFile2 marker
// with the marker "*" (in use), "\u00A7" (in use and drawn) or nothing. The
// line is UTF-8, as every text in memory.
struct TWordPear {
  TPearText Word1;
  TPearText Word2;
  TPearText WavFile1;
  TPearText WavFile2;
  int32_t PearNbr = 0;
  bool InUse = false;
  bool Drawn = false;

  TWordPear() = default;
  // Parses a pair line; an empty line leaves the defaults. A number part that
  // is no integer raises TConversionError.
  explicit TWordPear(std::string_view line);

  std::string GetFileLine() const;
  // Appends the pair line to out (no allocation when out has room).
  void AppendFileLine(std::string& out) const;
  void ClearDrawn() { Drawn = false; }

 private:
  // The parts of a pair line, as views into it.
  struct TLineViews;
  static TLineViews ReadPairLine(std::string_view line);
  explicit TWordPear(const TLineViews& views);
};

// The longest phrase the lesson editor lets the learner type, in characters
// (code points). Tables imported from elsewhere keep to it too, so a
// phrase never arrives that the editor could not have taken.
constexpr int32_t kMaxPhraseLength = 50;

// The "in use and drawn" marker, in UTF-8. Its lead byte never stands inside
// another character, so a search for it matches whole characters only.
constexpr std::string_view kDrawnMarker = "\xC2\xA7";

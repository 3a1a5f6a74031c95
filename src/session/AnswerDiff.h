#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A typed answer compared with the pair's, character by character as a
// reader sees them (grapheme clusters: "é" written as e and an accent, a
// Hindi syllable or an emoji is one), for the marks shown under the answer.

struct TAnswerLeniency {
  bool IgnoreCase = false;
  bool IgnoreAccents = false;
  bool IgnorePunctuation = false;
};

enum class TCharMark {
  Right,    // typed as in the answer
  Wrong,    // typed in place of the answer's character
  Missing,  // in the answer, not typed
  Extra,    // typed, not in the answer
};

struct TMarkedChar {
  std::string Text;  // UTF-8: what was typed; for Missing, the answer's character
  TCharMark Mark = TCharMark::Right;
};

struct TAnswerCheck {
  // The typed text in its order with the missing characters where they belong.
  std::vector<TMarkedChar> Chars;
  bool Correct = false;
};

// Blanks at either end do not count. Ignored punctuation is marked Right
// where typed and left out where not.
TAnswerCheck CheckAnswer(std::string_view expected, std::string_view typed, const TAnswerLeniency& leniency = {});

// How many characters a reader sees in the text (its grapheme clusters).
std::size_t CountGraphemes(std::string_view utf8);

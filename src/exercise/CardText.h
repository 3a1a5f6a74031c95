#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "CardMetrics.h"

// Advance width of every Windows-1252 byte in the card font.
using TCharWidths = std::array<int, 256>;

struct TCardRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// One letter to draw: its top-left (cell top) and its byte.
struct TCardLetter {
  int x = 0;
  int y = 0;
  unsigned char ch = 0;
};

// Where the letters of a phrase go on the card: one or two left-aligned rows
// above the ruled line of card line 1 (question) or 2 (answer), written one
// letter per call or all at once, cut at the text limit of the lower row.
class TCardText {
 public:
  TCardText(const TCardMetrics& metrics, int cardWidth, const TCharWidths& widths);

  int TextLimit() const { return cardWidth_ - m_.rightMargin; }
  // Top of the lower row of the line: its letters stand on the ruled line.
  int LineTop(int line) const;
  // The white box that ClearTextLine fills; the ruled line stays below it.
  TCardRect ClearRect(int line) const;

  void MeasureFit(std::string_view phrase);
  void FindWrapPos(std::string_view phrase);
  TCardLetter NextLetterPos(std::string_view phrase, int line);

  // Appends the letters of this call to out; true when the phrase is
  // complete (letterPos then starts again at 1). An empty phrase is
  // complete at once.
  bool DrawLetters(std::string_view phrase, int line, bool atOnce, std::vector<TCardLetter>& out);

  // Back to "no phrase in progress".
  void Reset() { letterPos = 1; }

  int letterPos = 1;  // 1-based position of the next letter
  int fitCount = 0;   // letters that fit one row
  int wrapPos = 1;    // 1-based first letter of the lower row
  int penX = 0;
  int penY = 0;

 private:
  bool FitsOneRow(std::string_view phrase) const { return fitCount == static_cast<int>(phrase.size()); }
  bool OnLowerRow(std::string_view phrase, int pos) const { return FitsOneRow(phrase) || pos >= wrapPos; }
  bool FirstOfLowerRow(std::string_view phrase, int pos) const {
    return FitsOneRow(phrase) ? pos == 1 : pos == wrapPos;
  }
  void DrawOne(std::string_view phrase, int line, std::vector<TCardLetter>& out);

  TCardMetrics m_;
  int cardWidth_;
  TCharWidths widths_;
};

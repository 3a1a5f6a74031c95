#pragma once
#include <string_view>

// What the exercise run draws on the card: the zoom out of the card box, the
// wipe between cards and the two text lines written letter by letter.
class TCardDrawing {
 public:
  virtual ~TCardDrawing() = default;
  // reset: the whole card at once and the wipe starts over; otherwise one
  // wipe step. True when the card is clean.
  virtual bool WipeCard(bool reset) = 0;
  virtual void ClearTextLine(int line) = 0;
  // line 1 (question) or 2 (answer): the next letter, or all at once. True
  // when the phrase is complete.
  virtual bool DrawLetters(std::string_view phrase, int line, bool atOnce) = 0;
  virtual void StartZoom() = 0;
  // One zoom tick; true when the card rests in its place.
  virtual bool ZoomTick() = 0;
};

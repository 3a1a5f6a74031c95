#include "CardText.h"

TCardText::TCardText(const TCardMetrics& metrics, int cardWidth, const TCharWidths& widths)
    : m_(metrics), cardWidth_(cardWidth), widths_(widths) {}

int TCardText::LineTop(int line) const { return (line == 1 ? m_.line1Y : m_.line2Y) - m_.fontHeight; }

TCardRect TCardText::ClearRect(int line) const {
  const int top = LineTop(line) - m_.fontHeight - m_.boxSpacing;
  return {m_.textLeftX - 5, top, cardWidth_ - 20, top + 2 * m_.fontHeight + m_.boxSpacing};
}

void TCardText::MeasureFit(std::string_view phrase) {
  int x = m_.textLeftX;
  int k = 0;
  for (unsigned char c : phrase) {
    if (x + widths_[c] >= TextLimit()) break;
    x += widths_[c];
    ++k;
  }
  fitCount = k;
}

void TCardText::FindWrapPos(std::string_view phrase) {
  const int n = static_cast<int>(phrase.size());
  int last = 0;
  for (int q = 2; q <= fitCount + 1 && q <= n; ++q)
    if (phrase[q - 1] == ' ') last = q;
  wrapPos = last ? last + 1 : fitCount + 1;
}

TCardLetter TCardText::NextLetterPos(std::string_view phrase, int line) {
  if (letterPos == 1) {
    MeasureFit(phrase);
    FindWrapPos(phrase);
    penX = m_.textLeftX;
    penY = LineTop(line);
    if (!FitsOneRow(phrase)) penY -= m_.fontHeight;
  } else if (!FitsOneRow(phrase) && letterPos == wrapPos) {
    penX = m_.textLeftX;
    penY = LineTop(line);
  }
  return {penX, penY, 0};
}

void TCardText::DrawOne(std::string_view phrase, int line, std::vector<TCardLetter>& out) {
  TCardLetter l = NextLetterPos(phrase, line);
  l.ch = static_cast<unsigned char>(phrase[letterPos - 1]);
  out.push_back(l);
  penX += widths_[l.ch];
}

bool TCardText::DrawLetters(std::string_view phrase, int line, bool atOnce, std::vector<TCardLetter>& out) {
  const int n = static_cast<int>(phrase.size());
  bool complete;
  if (n == 0) {
    complete = true;
  } else if (atOnce) {
    while (letterPos <= n) {
      if (letterPos > 1 && OnLowerRow(phrase, letterPos) && !FirstOfLowerRow(phrase, letterPos) &&
          penX > TextLimit())
        break;
      DrawOne(phrase, line, out);
      ++letterPos;
    }
    complete = true;
    letterPos = 1;
    return complete;
  } else if (letterPos <= n) {
    const int pos = letterPos;
    DrawOne(phrase, line, out);
    complete = pos == n || (OnLowerRow(phrase, pos) && penX >= TextLimit());
  } else {
    // Past the end without having reported completion: nothing is left to draw.
    complete = true;
  }
  if (complete)
    letterPos = 1;
  else
    ++letterPos;
  return complete;
}

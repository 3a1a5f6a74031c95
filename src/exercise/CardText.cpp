#include "CardText.h"

#include <QTextBoundaryFinder>

TCardPhrase SplitCardPhrase(std::string_view utf8) {
  TCardPhrase p;
  // Composed where Unicode allows: fonts without mark placement then still
  // set an accent typed as its own character on its letter.
  p.text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).normalized(QString::NormalizationForm_C);
  p.rightToLeft = p.text.isRightToLeft();
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, p.text);
  int from = 0;
  for (qsizetype to = finder.toNextBoundary(); to > 0; to = finder.toNextBoundary()) {
    TCardCluster c;
    c.from = from;
    c.length = static_cast<int>(to) - from;
    c.blank = c.length == 1 && p.text.at(from) == QLatin1Char(' ');
    p.clusters.push_back(c);
    from = static_cast<int>(to);
  }
  return p;
}

TCardText::TCardText(const TCardMetrics& metrics, int cardWidth, TClusterMeasure measure)
    : m_(metrics), cardWidth_(cardWidth), measure_(std::move(measure)) {}

int TCardText::LineTop(int line) const { return (line == 1 ? m_.line1Y : m_.line2Y) - m_.fontHeight; }

TCardRect TCardText::ClearRect(int line) const {
  const int top = LineTop(line) - m_.fontHeight - m_.boxSpacing;
  return {m_.textLeftX - 5, top, cardWidth_ - 20, top + 2 * m_.fontHeight + m_.boxSpacing};
}

TCardRow TCardText::UpperRow() const {
  if (FitsOneRow()) return {0, 0, LineTop(line_) - m_.fontHeight};
  return {0, wrapPos - 1, LineTop(line_) - m_.fontHeight};
}

TCardRow TCardText::LowerRow() const { return {FitsOneRow() ? 0 : wrapPos - 1, lowerEnd_, LineTop(line_)}; }

void TCardText::MeasureFit() {
  int x = m_.textLeftX;
  int k = 0;
  for (const TCardCluster& c : phrase_.clusters) {
    if (x + c.width >= TextLimit()) break;
    x += c.width;
    ++k;
  }
  fitCount = k;
}

void TCardText::FindWrapPos() {
  const int n = Count();
  int last = 0;
  for (int q = 2; q <= fitCount + 1 && q <= n; ++q)
    if (phrase_.clusters[q - 1].blank) last = q;
  wrapPos = last ? last + 1 : fitCount + 1;
}

int TCardText::FindLowerEnd() const {
  const int n = Count();
  const int start = FitsOneRow() ? 1 : wrapPos;
  int x = m_.textLeftX;
  int end = start - 1;
  for (int pos = start; pos <= n; ++pos) {
    if (pos > start && x > TextLimit()) break;
    x += phrase_.clusters[pos - 1].width;
    end = pos;
  }
  return end;
}

void TCardText::StartPhrase(std::string_view phrase, int line) {
  phrase_ = SplitCardPhrase(phrase);
  if (measure_) measure_(phrase_);
  line_ = line;
  MeasureFit();
  FindWrapPos();
  lowerEnd_ = FindLowerEnd();
  penX = m_.textLeftX;
  penY = LineTop(line);
  if (!FitsOneRow()) penY -= m_.fontHeight;
}

void TCardText::DrawOne(std::vector<TCardLetter>& out) {
  if (!FitsOneRow() && letterPos == wrapPos) {
    penX = m_.textLeftX;
    penY = LineTop(line_);
  }
  const TCardCluster& c = phrase_.clusters[letterPos - 1];
  // A right-to-left row is the mirror image of a left-to-right one within
  // the writing area.
  const int x = phrase_.rightToLeft ? m_.textLeftX + TextLimit() - (penX + c.width) : penX;
  out.push_back({x, penY, letterPos - 1, c.width});
  penX += c.width;
}

bool TCardText::DrawLetters(std::string_view phrase, int line, bool atOnce, std::vector<TCardLetter>& out) {
  if (letterPos == 1) StartPhrase(phrase, line);
  const int n = Count();
  bool complete;
  if (n == 0) {
    complete = true;
  } else if (atOnce) {
    while (letterPos <= n) {
      if (letterPos > 1 && OnLowerRow(letterPos) && !FirstOfLowerRow(letterPos) && penX > TextLimit()) break;
      DrawOne(out);
      ++letterPos;
    }
    complete = true;
  } else if (letterPos <= n) {
    const int pos = letterPos;
    DrawOne(out);
    complete = pos == n || (OnLowerRow(pos) && penX >= TextLimit());
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

#include "CardMetrics.h"

#include <cmath>

namespace {
// Halves go to the even neighbour, as the scaled sizes always did.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

TCardMetrics ComputeCardMetrics(double ppi) {
  TCardMetrics m;
  const double s = ppi <= 110 ? 1.0 : ppi / 100.0;
  m.scale = s;
  m.stepY = RoundEven(8 * s);
  m.stepX = RoundEven(16 * s);
  m.patchMargin = RoundEven(16 * s);
  m.lowerArcLimit = RoundEven(55 * s);
  m.topRunLength = RoundEven(17 * s);
  m.textLeftX = RoundEven(25 * s);
  m.line1Y = RoundEven(57 * s);
  m.line2Y = RoundEven(102 * s);
  m.boxSpacing = RoundEven(4 * s);
  m.rightMargin = RoundEven(27 * s);
  m.wipeSquare = RoundEven(3 * (s + 0.1));
  m.fontHeight = s == 1.0 ? 14 : RoundEven(14 * s);
  m.finalXCorrection = s == 1.0 ? 5 : 0;
  return m;
}

TCardLayout CardPictureFor(double ppi) {
  if (ppi <= 110) return {290, 140, 57, 102, 25, 260};
  if (ppi <= 130) return {362, 175, 71, 128, 31, 325};
  return {435, 210, 86, 153, 38, 391};
}

#pragma once

// The sizes the card drawing scales with the screen resolution. Everything
// is in pixels of the card area; the background and the start of the zoom
// stay unscaled.
struct TCardMetrics {
  double scale = 1;
  int stepY = 8;
  int stepX = 16;
  int patchMargin = 16;
  int lowerArcLimit = 55;
  int topRunLength = 17;
  int textLeftX = 25;
  int line1Y = 57;
  int line2Y = 102;
  int boxSpacing = 4;
  int rightMargin = 27;
  int wipeSquare = 3;
  int fontHeight = 14;
  int finalXCorrection = 5;
};

// Up to 110 ppi everything keeps its size; above, it grows with ppi / 100.
TCardMetrics ComputeCardMetrics(double ppi);

// The size of one of the three card pictures (chosen by resolution) and where
// its two text lines lie on it.
struct TCardLayout {
  int width = 290;
  int height = 140;
  int line1Y = 57;
  int line2Y = 102;
  int lineLeft = 25;
  int lineRight = 260;
};
TCardLayout CardPictureFor(double ppi);

// The background picture of the card area: silver field, card box at the left.
constexpr int kGroundWidth = 440;
constexpr int kGroundHeight = 190;

#pragma once
#include "CardMetrics.h"

// What one zoom tick paints. Coordinates are relative to the background
// picture.
struct TZoomPaint {
  enum Kind { None, Stretch, Patch, Place } kind = None;
  // Stretch: the whole card picture into (x, y, w, h). Place: the card at
  // rest at (x, y), full size. Patch: background at (x, y) of the patch
  // size, the small card at (dx, dy) in it, the patch onto the window.
  int x = 0, y = 0, w = 0, h = 0;
  int dx = 0, dy = 0;
  // Set on the tick that leaves the rise: patch and small card get new sizes
  // and the small card a new copy of the card picture.
  bool newSmallCard = false;
};

// The card coming out of the card box: it rises, lifts, moves up and right,
// right, down and right, and grows to full size. One stage step per tick.
class TCardZoom {
 public:
  static constexpr int kDone = 25;

  TCardZoom(const TCardMetrics& metrics, int cardWidth, int cardHeight);

  void StartZoom();
  // One tick; the stage after it (kDone when the card rests).
  int ZoomStep(TZoomPaint& paint);

  int X = 0, Y = 0, W = 0, H = 0;
  int zoomStage = 0;
  int xLimit = 0;
  int patchWidth = 0, patchHeight = 0;
  int smallWidth = 0, smallHeight = 0;

 private:
  void Patch(TZoomPaint& paint, int dx, int dy) const;

  TCardMetrics m_;
  int cw_, ch_;
};

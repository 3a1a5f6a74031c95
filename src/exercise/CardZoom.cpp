#include "CardZoom.h"

TCardZoom::TCardZoom(const TCardMetrics& metrics, int cardWidth, int cardHeight)
    : m_(metrics), cw_(cardWidth), ch_(cardHeight) {}

void TCardZoom::StartZoom() {
  // The start over the card box belongs to the unscaled background.
  zoomStage = 0;
  X = 42;
  Y = 79;
  W = 56;
  H = 0;
}

void TCardZoom::Patch(TZoomPaint& paint, int dx, int dy) const {
  paint.kind = TZoomPaint::Patch;
  paint.x = X;
  paint.y = Y;
  paint.w = patchWidth;
  paint.h = patchHeight;
  paint.dx = dx;
  paint.dy = dy;
}

int TCardZoom::ZoomStep(TZoomPaint& paint) {
  paint = TZoomPaint{};
  switch (zoomStage) {
    case 0:
      if (H <= 29) {
        paint.kind = TZoomPaint::Stretch;
        paint.x = X;
        paint.y = Y - H;
        paint.w = W;
        paint.h = H;
        H += 10;
      }
      if (H >= 29) {
        zoomStage = 1;
        Y -= 29;
        patchWidth = W + m_.patchMargin;
        patchHeight = H + m_.patchMargin;
        smallWidth = W;
        smallHeight = H;
        paint.newSmallCard = true;
      }
      break;
    case 1:
      if (Y >= 46) {
        Patch(paint, 0, 0);
        Y -= 8;
      }
      if (Y <= 46) zoomStage = 2;
      break;
    case 2:
      if (Y >= 20) {
        Patch(paint, m_.stepX, 0);
        Y -= m_.stepY;
        X += m_.stepX;
      }
      if (Y <= 20) {
        zoomStage = 3;
        xLimit = X + m_.topRunLength;
      }
      break;
    case 3:
      if (X <= xLimit) {
        Patch(paint, m_.stepX, m_.stepY);
        X += m_.stepX;
      }
      if (X >= xLimit) zoomStage = 4;
      break;
    case 4:
      if (Y <= m_.lowerArcLimit) {
        Patch(paint, m_.stepX, m_.stepX);
        Y += m_.stepY;
        X += m_.stepX;
      }
      if (Y >= m_.lowerArcLimit) zoomStage = 5;
      break;
    case 5:
      if (ch_ <= H && cw_ <= W) {
        paint.kind = TZoomPaint::Place;
        paint.x = X;
        paint.y = Y;
        paint.w = cw_;
        paint.h = ch_;
        zoomStage = kDone;
        break;
      }
      if (ch_ > H + 11) {
        H += 11;
        Y -= 2;
      } else {
        H = ch_;
        Y -= 3;
      }
      if (cw_ > W + 24) {
        W += 24;
        X -= 7;
      } else {
        W = cw_;
        X -= m_.finalXCorrection;
      }
      paint.kind = TZoomPaint::Stretch;
      paint.x = X;
      paint.y = Y;
      paint.w = W;
      paint.h = H;
      break;
    default:
      break;
  }
  return zoomStage;
}

#pragma once
#include <QImage>

#include "CardMetrics.h"

// The pictures of the card area, painted at start instead of shipped as files:
// the background (silver field, red card box with a slanted stack of white
// index cards under the start of the zoom) and a white ruled index card.
QImage PaintGroundPicture();
QImage PaintCardPicture(const TCardLayout& card);

constexpr QRgb kSilver = qRgb(192, 192, 192);

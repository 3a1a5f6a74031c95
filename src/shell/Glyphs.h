#pragma once
#include <QIcon>
#include <QStyle>

// A standard glyph of the application's style, decoded once per run: every
// window's flat buttons share them.
QIcon StandardGlyph(QStyle::StandardPixmap glyph);

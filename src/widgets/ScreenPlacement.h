#pragma once
#include <QRect>

class QWidget;

// Where a window's frame goes so that it lies wholly on the available screen:
// moved in where it sticks out, shrunk only where it is larger than the screen.
QRect FrameOnScreen(const QRect& frame, const QRect& available);

// Width a window needs for its title bar to show the caption whole, with the
// window's icon and buttons beside it.
int CaptionWidth(const QWidget* window);

// Keeps the window's frame, title bar included, on the screen each time it is
// shown, once the window manager has framed it, and when it grows; keeps the
// window wide enough for its caption. Calling it again does nothing more.
void KeepFrameOnScreen(QWidget* window);

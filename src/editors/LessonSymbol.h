#pragma once
#include <QPixmap>

// The small symbol, 20 x 22 pixels, in front of every entry of a lesson list:
// a closed book.
QPixmap LessonSymbol();

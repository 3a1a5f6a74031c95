#include "LessonSymbol.h"

#include <QPainter>

QPixmap LessonSymbol() {
  QPixmap pixmap(20, 22);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(40, 40, 90));
  p.setBrush(QColor(70, 110, 190));
  p.drawRect(3, 2, 13, 17);                        // cover
  p.setBrush(Qt::white);
  p.drawRect(4, 17, 12, 2);                        // page edges
  p.setPen(QColor(230, 200, 80));
  p.drawLine(6, 6, 13, 6);                         // title lines
  p.drawLine(6, 9, 11, 9);
  p.setPen(QColor(40, 40, 90));
  p.drawLine(5, 2, 5, 18);                         // spine
  return pixmap;
}

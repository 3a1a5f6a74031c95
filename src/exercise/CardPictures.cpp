#include "CardPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

// One index card of the stack: white, thin grey edge, a red head line and
// faint blue rules, tipped a little back.
void PaintStackCard(QPainter& p, QPointF topLeft, double width, double height) {
  const QPointF tr = topLeft + QPointF(width, -4);
  const QPointF br = tr + QPointF(3, height);
  const QPointF bl = topLeft + QPointF(3, height);
  QPolygonF card;
  card << topLeft << tr << br << bl;
  p.setPen(QPen(QColor(110, 110, 110), 1));
  p.setBrush(QColor(252, 252, 250));
  p.drawPolygon(card);
  auto along = [&](double t) {  // a rule t pixels below the top edge
    return QLineF(topLeft + QPointF(3 + t * 0.06, t), tr + QPointF(-3 + t * 0.06, t));
  };
  p.setPen(QPen(QColor(215, 60, 60), 1));
  p.drawLine(along(6));
  p.setPen(QPen(QColor(150, 175, 225), 1));
  for (double t = 12; t < height - 2; t += 6) p.drawLine(along(t));
}

}  // namespace

QImage PaintGroundPicture() {
  QImage img(kGroundWidth, kGroundHeight, QImage::Format_RGB32);
  img.fill(kSilver);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  // The box in an oblique view: front face, right side, the open top.
  const QPoint frontTL(6, 112), frontBR(112, 176);
  const QPoint depth(24, -24);
  QPolygon opening;
  opening << frontTL << frontTL + depth << QPoint(frontBR.x(), frontTL.y()) + depth
          << QPoint(frontBR.x(), frontTL.y());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(70, 8, 8));
  p.drawPolygon(opening);

  // The stack: top edges climb from (21, 99) at the front to (54, 65) at the
  // back; the zoom starts out of its middle at (42, 79).
  const int cards = 6;
  for (int k = cards - 1; k >= 0; --k) {
    const double t = k / double(cards - 1);
    PaintStackCard(p, QPointF(21 + 33 * t, 99 - 34 * t), 60, 60);
  }

  QPolygon side;
  side << QPoint(frontBR.x(), frontTL.y()) << QPoint(frontBR.x(), frontTL.y()) + depth << frontBR + depth
       << frontBR;
  p.setBrush(QColor(140, 18, 18));
  p.setPen(QPen(QColor(60, 0, 0), 1));
  p.drawPolygon(side);

  QLinearGradient face(frontTL, QPoint(frontTL.x(), frontBR.y()));
  face.setColorAt(0, QColor(215, 40, 40));
  face.setColorAt(1, QColor(170, 22, 22));
  p.setBrush(face);
  p.drawRect(QRect(frontTL, frontBR));
  // The rim of the box and a label holder on its front.
  p.setPen(QPen(QColor(240, 110, 110), 1));
  p.drawLine(frontTL + QPoint(1, 1), QPoint(frontBR.x() - 1, frontTL.y() + 1));
  p.setPen(QPen(QColor(90, 10, 10), 1));
  p.setBrush(QColor(245, 240, 225));
  p.drawRect(QRect(QPoint(36, 132), QSize(46, 20)));
  p.setPen(QPen(QColor(150, 150, 150), 1));
  p.drawLine(40, 140, 78, 140);
  p.drawLine(40, 146, 70, 146);
  // A shadow on the silver field.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(150, 150, 150));
  QPolygon shadow;
  shadow << QPoint(frontTL.x() + 4, frontBR.y()) << frontBR << frontBR + depth
         << frontBR + depth + QPoint(6, 4) << QPoint(frontBR.x() + 6, frontBR.y() + 4)
         << QPoint(frontTL.x() + 8, frontBR.y() + 4);
  p.drawPolygon(shadow);
  return img;
}

QImage PaintCardPicture(const TCardLayout& card) {
  QImage img(card.width, card.height, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  // Thin dark double frame.
  p.setPen(QPen(QColor(64, 64, 64), 1));
  p.drawRect(0, 0, card.width - 1, card.height - 1);
  const int in = card.width >= 400 ? 4 : 3;
  p.drawRect(in, in, card.width - 1 - 2 * in, card.height - 1 - 2 * in);
  // The two ruled lines the phrases stand on.
  p.setPen(QPen(QColor(kSilver), 1));
  p.drawLine(card.lineLeft, card.line1Y, card.lineRight, card.line1Y);
  p.drawLine(card.lineLeft, card.line2Y, card.lineRight, card.line2Y);
  return img;
}

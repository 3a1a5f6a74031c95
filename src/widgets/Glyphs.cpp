#include "Glyphs.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {
QHash<int, QIcon>*& Cache() {
  static QHash<int, QIcon>* cache = nullptr;
  return cache;
}

// The icons go with the application, before the GUI is torn down.
void DropCache() {
  delete Cache();
  Cache() = nullptr;
}

void DrawRun(QPainter& p) {
  QPainterPath play;
  play.moveTo(10, 6);
  play.lineTo(27, 16);
  play.lineTo(10, 26);
  play.closeSubpath();
  p.setPen(QPen(QColor(0x1e, 0x6b, 0x2e), 1.5));
  p.setBrush(QColor(0x3c, 0xa0, 0x4f));
  p.drawPath(play);
}

void DrawSettings(QPainter& p) {
  // Three sliders.
  p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2, Qt::SolidLine, Qt::RoundCap));
  for (int row = 0; row < 3; ++row) p.drawLine(5, 8 + row * 8, 27, 8 + row * 8);
  p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.5));
  p.setBrush(QColor(0x4a, 0x86, 0xd0));
  const int knobs[] = {10, 21, 14};
  for (int row = 0; row < 3; ++row) p.drawEllipse(QPointF(knobs[row], 8 + row * 8), 3.5, 3.5);
}

void DrawEdit(QPainter& p) {
  // A card with lines and a pencil.
  p.setPen(QPen(QColor(0x6b, 0x5a, 0x3a), 1.5));
  p.setBrush(QColor(0xfb, 0xf8, 0xef));
  p.drawRoundedRect(QRectF(4, 5, 20, 22), 2, 2);
  p.setPen(QPen(QColor(0x2a, 0x55, 0x99), 2));
  p.drawLine(8, 11, 19, 11);
  p.drawLine(8, 16, 17, 16);
  p.drawLine(8, 21, 14, 21);
  p.save();
  p.translate(22, 20);
  p.rotate(45);
  p.setPen(QPen(QColor(0x7a, 0x4a, 0x10), 1));
  p.setBrush(QColor(0xf0, 0xb4, 0x3c));
  p.drawRect(QRectF(-12, -2.5, 14, 5));
  p.setBrush(QColor(0x40, 0x40, 0x40));
  QPainterPath tip;
  tip.moveTo(2, -2.5);
  tip.lineTo(6, 0);
  tip.lineTo(2, 2.5);
  tip.closeSubpath();
  p.drawPath(tip);
  p.restore();
}

void DrawHelp(QPainter& p) {
  p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.5));
  p.setBrush(QColor(0x4a, 0x86, 0xd0));
  p.drawEllipse(QRectF(4, 4, 24, 24));
  QFont font = QApplication::font();
  font.setBold(true);
  font.setPixelSize(18);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(4, 4, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawClose(QPainter& p) {
  p.setPen(QPen(QColor(0xb0, 0x2a, 0x2a), 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(9, 9, 23, 23);
  p.drawLine(23, 9, 9, 23);
}

void DrawSave(QPainter& p) {
  // A tick: take the values.
  QPainterPath tick;
  tick.moveTo(7, 17);
  tick.lineTo(13, 23);
  tick.lineTo(25, 9);
  p.setPen(QPen(QColor(0x2e, 0x8b, 0x3e), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

QIcon Draw(TGlyph glyph) {
  QIcon icon;
  for (int size : {32, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    switch (glyph) {
      case TGlyph::Run: DrawRun(p); break;
      case TGlyph::Settings: DrawSettings(p); break;
      case TGlyph::Edit: DrawEdit(p); break;
      case TGlyph::Help: DrawHelp(p); break;
      case TGlyph::Close: DrawClose(p); break;
      case TGlyph::Save: DrawSave(p); break;
    }
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

// Keys: our own glyphs, then the style's standard pixmaps above them.
template <class Make>
QIcon Cached(int key, Make make) {
  if (Cache() == nullptr) {
    Cache() = new QHash<int, QIcon>;  // freed by DropCache
    qAddPostRoutine(DropCache);
  }
  auto it = Cache()->find(key);
  if (it == Cache()->end()) it = Cache()->insert(key, make());
  return *it;
}
constexpr int kStandardBase = 1000;
}  // namespace

QIcon Glyph(TGlyph glyph) {
  return Cached(static_cast<int>(glyph), [glyph] { return Draw(glyph); });
}

QIcon StandardGlyph(QStyle::StandardPixmap glyph) {
  return Cached(kStandardBase + static_cast<int>(glyph), [glyph] { return QApplication::style()->standardIcon(glyph); });
}

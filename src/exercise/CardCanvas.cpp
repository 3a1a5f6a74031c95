#include "CardCanvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "GraphicOutput.h"

TCardCanvas::TCardCanvas(TCardGraphics& graphics, QWidget* parent) : QWidget(parent), graphics_(graphics) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(graphics_.Canvas().size());
}

QSize TCardCanvas::sizeHint() const { return graphics_.Canvas().size(); }

void TCardCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), graphics_.Canvas(), event->rect());
}

#include "moc_CardCanvas.cpp"

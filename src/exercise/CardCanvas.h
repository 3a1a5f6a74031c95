#pragma once
#include <QWidget>

class TCardGraphics;

// The card area of the exercise window: shows the off-screen canvas the card
// graphics draw on.
class TCardCanvas : public QWidget {
  Q_OBJECT

 public:
  TCardCanvas(TCardGraphics& graphics, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TCardGraphics& graphics_;
};

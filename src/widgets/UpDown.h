#pragma once
#include <QWidget>
#include <cstdint>

class QLineEdit;
class QToolButton;

// Two small arrow buttons beside an edit field: each click steps the number in
// the field by one within a range, wrapping round at either end. The field
// stays free text; checking it is the field's own business.
class TUpDown : public QWidget {
  Q_OBJECT

 public:
  TUpDown(QLineEdit* buddy, QWidget* parent);

  void SetRange(int32_t lowest, int32_t highest);
  void SetPosition(int32_t position);
  int32_t Position() const { return position_; }
  // One step up or down from the number in the field (or from the last
  // position when the field holds none).
  void StepBy(int delta);

  QToolButton* btnUp;
  QToolButton* btnDown;

 private:
  QLineEdit* buddy_;
  int32_t lowest_ = 0;
  int32_t highest_ = 100;
  int32_t position_ = 0;
};

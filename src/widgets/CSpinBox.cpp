#include "CSpinBox.h"

#include <QLineEdit>

TSpinBox::TSpinBox(QLineEdit* owner)
    : QObject(owner), timerBtnPressed(new TTickTimer(this)), timerSpinValue(new TTickTimer(this)), Owner(owner) {
  setObjectName(QStringLiteral("NumberSpin"));
  timerBtnPressed->setObjectName(QStringLiteral("timerBtnPressed"));
  timerSpinValue->setObjectName(QStringLiteral("timerSpinValue"));
  timerBtnPressed->setInterval(1000);
  timerSpinValue->setInterval(100);
  connect(timerBtnPressed, &TTickTimer::timeout, this, &TSpinBox::timerBtnPressedTimer);
  connect(timerSpinValue, &TTickTimer::timeout, this, &TSpinBox::timerSpinValueTimer);
}

void TSpinBox::Init(int32_t lowest, int32_t highest, int32_t start, uint8_t step, const TIntVector* values) {
  Stepping.Init(lowest, highest, start, step, values);
  if (Stepping.HasValue())
    ShowValue(Stepping.GetValue());
  else
    Owner->clear();
}

void TSpinBox::ButtonDown(bool down) {
  Stepping.Down = down;
  timerBtnPressed->start();
  SpinOnce(down);
}

void TSpinBox::ButtonUp() {
  timerBtnPressed->stop();
  timerSpinValue->stop();
}

void TSpinBox::SpinOnce(bool down) {
  if (!Stepping.CanSpin()) return;
  Stepping.Down = down;
  ShowValue(Stepping.Advance());
}

void TSpinBox::ShowValue(int32_t value) { Owner->setText(QString::number(value)); }

void TSpinBox::timerBtnPressedTimer() {
  timerBtnPressed->stop();
  timerSpinValue->start();
}

void TSpinBox::timerSpinValueTimer() {
  if (!Stepping.CanSpin()) return;
  ShowValue(Stepping.Advance());
}

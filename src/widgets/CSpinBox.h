#pragma once
#include <QObject>
#include <cstdint>

#include "SpinStepping.h"
#include "TickTimer.h"

class QLineEdit;

// Steps a number while one of two arrow buttons is held: one step at once,
// then, after the button has been held for 1000 ms, one step every 100 ms.
// It writes the value into its owner, the display field. The arrow buttons
// belong to the dialog, which forwards their press and release.
class TSpinBox : public QObject {
  Q_OBJECT

 public:
  explicit TSpinBox(QLineEdit* owner);

  TTickTimer* timerBtnPressed;
  TTickTimer* timerSpinValue;

  void Init(int32_t lowest, int32_t highest, int32_t start, uint8_t step, const TIntVector* values);
  int32_t GetValue() const { return Stepping.GetValue(); }
  bool CanSpin() const { return Stepping.CanSpin(); }
  void ButtonDown(bool down);
  void ButtonUp();
  void SpinOnce(bool down);
  int32_t Advance() { return Stepping.Advance(); }
  void ShowValue(int32_t value);

  const TSpinStepping& State() const { return Stepping; }

 private slots:
  void timerBtnPressedTimer();
  void timerSpinValueTimer();

 private:
  QLineEdit* Owner;
  TSpinStepping Stepping;
};

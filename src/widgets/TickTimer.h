#pragma once
#include <QObject>
#include <QTimer>

#include "session/RunTimer.h"

// A window timer that tests can tick by hand. In manual mode (tests) it never
// fires on its own; Fire() delivers one tick while it is active.
class TTickTimer : public QObject, public TRunTimer {
  Q_OBJECT

 public:
  explicit TTickTimer(QObject* parent = nullptr);

  void setInterval(int ms) override;
  int interval() const override { return interval_; }
  void start() override;
  using TRunTimer::start;
  void stop() override;
  bool isActive() const override { return active_; }

  // One tick as if the interval had passed; nothing when the timer is off.
  void Fire() override;

  // All timers, existing and new, stop running on real time (true) or run on it.
  static void SetManual(bool manual);

 signals:
  void timeout();

 private:
  QTimer timer_;
  int interval_ = 0;
  bool active_ = false;
};

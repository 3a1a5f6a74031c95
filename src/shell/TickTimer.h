#pragma once
#include <QObject>
#include <QTimer>

// A window timer that tests can tick by hand. In manual mode (tests) it never
// fires on its own; Fire() delivers one tick while it is active.
class TTickTimer : public QObject {
  Q_OBJECT

 public:
  explicit TTickTimer(QObject* parent = nullptr);

  void setInterval(int ms);
  int interval() const { return interval_; }
  void start();
  void start(int ms);
  void stop();
  bool isActive() const { return active_; }
  void setEnabled(bool on) { on ? start() : stop(); }

  // One tick as if the interval had passed; nothing when the timer is off.
  void Fire();

  // All timers, existing and new, stop running on real time (true) or run on it.
  static void SetManual(bool manual);
  static bool IsManual();

 signals:
  void timeout();

 private:
  QTimer timer_;
  int interval_ = 0;
  bool active_ = false;
};

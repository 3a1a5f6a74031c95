#include "TickTimer.h"

namespace {
bool& Manual() {
  static bool manual = false;
  return manual;
}
}  // namespace

TTickTimer::TTickTimer(QObject* parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, &TTickTimer::Fire);
}

void TTickTimer::setInterval(int ms) {
  interval_ = ms;
  timer_.setInterval(ms);
}

void TTickTimer::start() {
  active_ = true;
  if (!Manual()) timer_.start(interval_);
}

void TTickTimer::stop() {
  active_ = false;
  timer_.stop();
}

void TTickTimer::Fire() {
  if (!active_) return;
  Tick();
  emit timeout();
}

void TTickTimer::SetManual(bool manual) { Manual() = manual; }

// The moc output lives in this object, so a program that uses the timer does
// not pull in every window of the library through one shared moc object.
#include "moc_TickTimer.cpp"

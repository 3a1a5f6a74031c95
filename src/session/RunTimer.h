#pragma once
#include <functional>
#include <memory>
#include <utility>

// A timer of the exercise run. The window gives timers that run on real
// time; tests and runs without a window give ones that only tick by hand.
class TRunTimer {
 public:
  virtual ~TRunTimer() = default;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void start() = 0;
  virtual void stop() = 0;
  virtual bool isActive() const = 0;
  // One tick as if the interval had passed; nothing when the timer is off.
  virtual void Fire() = 0;

  void start(int ms) {
    setInterval(ms);
    start();
  }
  void setEnabled(bool on) { on ? start() : stop(); }
  // What each tick does.
  void OnTimeout(std::function<void()> handler) { handler_ = std::move(handler); }

 protected:
  void Tick() {
    if (handler_) handler_();
  }

 private:
  std::function<void()> handler_;
};

using TRunTimerFactory = std::function<std::unique_ptr<TRunTimer>()>;

// A timer that never runs on real time: only Fire ticks it.
class THandTimer : public TRunTimer {
 public:
  void setInterval(int ms) override { interval_ = ms; }
  int interval() const override { return interval_; }
  void start() override { active_ = true; }
  void stop() override { active_ = false; }
  bool isActive() const override { return active_; }
  void Fire() override {
    if (active_) Tick();
  }

 private:
  int interval_ = 0;
  bool active_ = false;
};

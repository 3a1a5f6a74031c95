#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QEvent;

// While a sound plays, the program waits in a nested event loop. Input that
// started anything else there would run the exercise twice over, so the gate
// swallows the learner's input for its lifetime, except what the filter lets
// through (STOP, Exit, closing): those must act at once, not after the sound.
class TPlaybackInputGate : public QObject {
 public:
  using TFilter = std::function<bool(QObject* target, QEvent* event)>;
  explicit TPlaybackInputGate(TFilter allowed);
  ~TPlaybackInputGate() override;

  TPlaybackInputGate(const TPlaybackInputGate&) = delete;
  TPlaybackInputGate& operator=(const TPlaybackInputGate&) = delete;

  // Mouse, keyboard, wheel, touch and context-menu events.
  static bool IsUserInput(const QEvent* event);

 protected:
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  TFilter allowed_;
};

// Input to the menus that can only end in the action of that object name:
// menus open and are walked, but no other entry can be chosen.
bool IsMenuInputFor(QObject* target, QEvent* event, const QString& actionName);

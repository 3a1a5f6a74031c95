#pragma once
// For timing a whole start: with QUILLMERE_EXIT_AFTER_SHOW set, the program
// leaves its event loop once its main window has been painted for the first
// time, without closing the window (nothing is saved). Header only, so that
// the empty comparison program in bench/ uses the very same rule with nothing
// but Qt Widgets linked.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

constexpr const char* kExitAfterShowVariable = "QUILLMERE_EXIT_AFTER_SHOW";

class TExitAfterFirstPaint : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched == parent()) {
      watched->removeEventFilter(this);
      // Queued: the painted window reaches the screen first.
      QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                                Qt::QueuedConnection);
    }
    return false;
  }
};

// Call before the window's first show.
inline void ExitAfterFirstPaintIfAsked(QWidget& window) {
  if (qEnvironmentVariableIsEmpty(kExitAfterShowVariable)) return;
  window.installEventFilter(new TExitAfterFirstPaint(&window));
}

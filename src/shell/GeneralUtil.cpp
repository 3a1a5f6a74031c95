#include "GeneralUtil.h"

#include <QApplication>
#include <QWidget>

namespace {
TMessageBoxHook& MessageHook() {
  static TMessageBoxHook hook;
  return hook;
}
}  // namespace

int ShowMessageBox(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon,
                   QMessageBox::StandardButtons buttons, bool beep) {
  if (beep) QApplication::beep();
  if (MessageHook()) return MessageHook()({owner, caption, text, icon, buttons, beep});
  QMessageBox box(icon, caption, text, buttons, owner);
  return box.exec();
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
  TMessageBoxHook previous = std::move(MessageHook());
  MessageHook() = std::move(hook);
  return previous;
}

void GreySystemMenuItem(QWidget* window, int /*position*/, bool grey) {
  if (grey) {
    window->setFixedSize(window->size());
  } else {
    window->setMinimumSize(0, 0);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
}

// TODO(main window issue): the full scaling rules; for now the window keeps
// its size and is centred as asked.
TFitResult FitGeometry(const TFitInput& in) {
  TFitResult r;
  r.width = in.width;
  r.height = in.height;
  r.left = in.centreH ? (in.screenWidth - in.width) / 2 : in.left;
  r.top = in.centreV ? (in.screenHeight - in.height) / 2 : in.top;
  r.autoSize = in.autoSize;
  return r;
}

bool FitFormToScreen(QWidget* /*window*/, bool /*centreH*/, bool /*centreV*/, bool /*autoSize*/) { return false; }

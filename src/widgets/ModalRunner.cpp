#include "ModalRunner.h"

#include <QDialog>

namespace {
TModalRunHook& Hook() {
  static TModalRunHook hook;
  return hook;
}
}  // namespace

int RunModal(QDialog& dialog) {
  if (Hook()) return Hook()(dialog);
  return dialog.exec();
}

TModalRunHook SetModalRunHook(TModalRunHook hook) {
  TModalRunHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

#include "EditorHelp.h"

namespace {
TEditorHelpHook& Hook() {
  static TEditorHelpHook hook;
  return hook;
}
}  // namespace

TEditorHelpHook SetEditorHelpHook(TEditorHelpHook hook) {
  TEditorHelpHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

void ShowEditorHelp(QWidget* owner, const QString& topic, int context) {
  if (Hook()) Hook()(owner, topic, context);
}

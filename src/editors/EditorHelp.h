#pragma once
#include <QString>
#include <functional>

class QWidget;

// Opens help at a topic keyword (help buttons) or a context number (F1). The
// main window installs the viewer; without one nothing happens.
using TEditorHelpHook = std::function<void(QWidget* owner, const QString& topic, int context)>;
TEditorHelpHook SetEditorHelpHook(TEditorHelpHook hook);
void ShowEditorHelp(QWidget* owner, const QString& topic, int context);

#pragma once
#include <functional>

class QWidget;

// Runs a window action. A file that cannot be read or holds a malformed
// number ends the action with a message box naming the file, the line where
// known and the reason; the program goes on. True when the action completed.
bool GuardedAction(QWidget* owner, const std::function<void()>& action);

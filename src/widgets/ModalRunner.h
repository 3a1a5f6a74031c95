#pragma once
#include <functional>

class QDialog;

// Runs a dialog modally and returns its result. Tests replace the run with a
// script that works the real dialog's controls, so no nested event loop waits
// for a user.
int RunModal(QDialog& dialog);

using TModalRunHook = std::function<int(QDialog&)>;
TModalRunHook SetModalRunHook(TModalRunHook hook);

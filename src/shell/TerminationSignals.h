#pragma once
#include <functional>

// SIGTERM and SIGHUP (a logout, a shutdown, kill) end the program as if the
// learner had closed it, so the session's progress is saved. The signal only
// wakes the event loop; onSignal runs there, once.
void InstallTerminationSignals(std::function<void()> onSignal);

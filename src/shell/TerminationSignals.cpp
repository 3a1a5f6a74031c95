#include "TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QCoreApplication>
#include <csignal>
#include <memory>

namespace {
int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one write.
void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}
}  // namespace

void InstallTerminationSignals(std::function<void()> onSignal) {
  if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
    return;
  // The notifier belongs to the application and goes with it.
  auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
  auto done = std::make_shared<bool>(false);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal = std::move(onSignal), done] {
    char bytes[16];
    while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
    }
    if (*done) return;  // a second signal while closing changes nothing
    *done = true;
    onSignal();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

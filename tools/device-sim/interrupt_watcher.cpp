#include "interrupt_watcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#endif

namespace orvex {

#ifdef Q_OS_WIN

namespace {
InterruptWatcher* g_watcher = nullptr;

// Runs on a thread of the system's own; a queued call is safe from there.
BOOL WINAPI OnConsoleControl(DWORD) {
  if (g_watcher)
    QMetaObject::invokeMethod(g_watcher, &InterruptWatcher::interrupted, Qt::QueuedConnection);
  return TRUE;
}
}  // namespace

struct InterruptWatcher::Platform {};

InterruptWatcher::InterruptWatcher(QObject* parent) : QObject(parent) {
  g_watcher = this;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptWatcher::~InterruptWatcher() {
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_watcher = nullptr;
}

#else

namespace {
// The write end of the pipe; the signal handler may only write to it.
int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}
}  // namespace

struct InterruptWatcher::Platform {
  std::unique_ptr<QSocketNotifier> notifier;
};

InterruptWatcher::InterruptWatcher(QObject* parent)
    : QObject(parent), platform_(std::make_unique<Platform>()) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
  platform_->notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
  connect(platform_->notifier.get(), &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(g_signalPipe[0], &byte, 1);
    Q_EMIT interrupted();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

InterruptWatcher::~InterruptWatcher() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  platform_->notifier.reset();
  for (int& end : g_signalPipe) {
    if (end >= 0) ::close(end);
    end = -1;
  }
}

#endif

}  // namespace orvex

#include <windows.h>

#include <QTimer>
#include <atomic>
#include <csignal>

#include "Util/QuitSignalWatcher.h"

namespace {

std::atomic<int> g_received{0};

// Runs on a thread the system creates for the console event: record it only, the
// watcher's timer quits the loop. Ctrl+C counts as SIGINT, everything else as SIGTERM.
BOOL WINAPI on_console_event(DWORD event) {
  int none = 0;
  g_received.compare_exchange_strong(none, event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}

}  // namespace

struct QuitSignalWatcher::Platform {
  QTimer poll;
};

QuitSignalWatcher::QuitSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {
  g_received = 0;
  SetConsoleCtrlHandler(&on_console_event, TRUE);
  QObject::connect(&platform_->poll, &QTimer::timeout, this, [this] { announce(); });
  platform_->poll.start(100);
}

QuitSignalWatcher::~QuitSignalWatcher() { SetConsoleCtrlHandler(&on_console_event, FALSE); }

int QuitSignalWatcher::ReceivedSignal() const { return g_received; }

#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "process/QuitSignalWatcher.h"

namespace {

std::atomic<int> g_received{0};

void record(int signal) {
  int none = 0;
  g_received.compare_exchange_strong(none, signal);
}

// Runs on a thread the system creates for the console event: record it only, the
// watcher's timer quits the loop. Ctrl+C counts as SIGINT, everything else as SIGTERM.
BOOL WINAPI on_console_event(DWORD event) {
  record(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  // After a close, log-off or shutdown event the system ends the process as soon as
  // the handler returns: wait here instead, while the program leaves the usual way
  // (its exit ends this thread too; the system's own time-out still applies).
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
    Sleep(INFINITE);
  return TRUE;
}

// raise() and the C library's own console handling deliver these.
void on_c_signal(int signal) {
  record(signal);
  std::signal(signal, &on_c_signal);  // the C library resets the handler before the call
}

// The polite request to end a windowless process (QProcess::terminate) is WM_CLOSE
// posted to its main thread, which no window sees.
class CloseMessageFilter : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, long*) override {
    const MSG* msg = static_cast<const MSG*>(message);
    if (type != "windows_generic_MSG" || msg->hwnd != nullptr || msg->message != WM_CLOSE) return false;
    record(SIGTERM);
    return true;
  }
};

}  // namespace

struct QuitSignalWatcher::Platform {
  QTimer poll;
  CloseMessageFilter close_filter;
  void (*previous_int)(int) = SIG_DFL;
  void (*previous_term)(int) = SIG_DFL;
};

QuitSignalWatcher::QuitSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {
  g_received = 0;
  SetConsoleCtrlHandler(&on_console_event, TRUE);
  platform_->previous_int = std::signal(SIGINT, &on_c_signal);
  platform_->previous_term = std::signal(SIGTERM, &on_c_signal);
  if (QCoreApplication* app = QCoreApplication::instance())
    app->installNativeEventFilter(&platform_->close_filter);
  QObject::connect(&platform_->poll, &QTimer::timeout, this, [this] { announce(); });
  platform_->poll.start(100);
}

QuitSignalWatcher::~QuitSignalWatcher() {
  if (QCoreApplication* app = QCoreApplication::instance())
    app->removeNativeEventFilter(&platform_->close_filter);
  std::signal(SIGINT, platform_->previous_int);
  std::signal(SIGTERM, platform_->previous_term);
  SetConsoleCtrlHandler(&on_console_event, FALSE);
}

int QuitSignalWatcher::ReceivedSignal() const { return g_received; }

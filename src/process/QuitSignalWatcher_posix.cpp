#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>

#include "log/LogUtil.h"
#include "process/QuitSignalWatcher.h"

namespace {

// The handler may only touch these: a lock-free atomic and a write to a pipe.
std::atomic<int> g_received{0};
int g_pipe[2] = {-1, -1};

void on_signal(int signal) {
  const int saved_errno = errno;
  int none = 0;
  g_received.compare_exchange_strong(none, signal);
  const char byte = static_cast<char>(signal);
  if (g_pipe[1] >= 0 && ::write(g_pipe[1], &byte, 1) < 0) {
    // A full pipe already holds a wake-up.
  }
  errno = saved_errno;
}

}  // namespace

struct QuitSignalWatcher::Platform {
  QSocketNotifier* notifier = nullptr;
  struct sigaction previous_term {};
  struct sigaction previous_int {};
  bool installed = false;
};

QuitSignalWatcher::QuitSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {
  g_received = 0;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    log_warning("QuitSignalWatcher, no pipe, SIGTERM and SIGINT keep their default action.");
    return;
  }
  // The notifier wakes the event loop; the handler itself must not call into Qt.
  platform_->notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(platform_->notifier, &QSocketNotifier::activated, this, [this] {
    char drained[64];
    while (::read(g_pipe[0], drained, sizeof(drained)) > 0) {
    }
    announce();
  });
  struct sigaction action {};
  action.sa_handler = &on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &platform_->previous_term);
  sigaction(SIGINT, &action, &platform_->previous_int);
  platform_->installed = true;
}

QuitSignalWatcher::~QuitSignalWatcher() {
  if (!platform_->installed) return;
  sigaction(SIGTERM, &platform_->previous_term, nullptr);
  sigaction(SIGINT, &platform_->previous_int, nullptr);
  delete platform_->notifier;
  const int read_end = g_pipe[0];
  const int write_end = g_pipe[1];
  g_pipe[0] = g_pipe[1] = -1;
  ::close(read_end);
  ::close(write_end);
}

int QuitSignalWatcher::ReceivedSignal() const { return g_received; }

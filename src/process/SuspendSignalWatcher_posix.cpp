#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "log/LogUtil.h"
#include "process/SuspendSignalWatcher.h"

namespace {

// The handler may only write to the pipe.
int g_pipe[2] = {-1, -1};

void on_suspend(int) {
  const int saved_errno = errno;
  const char byte = 1;
  if (g_pipe[1] >= 0 && ::write(g_pipe[1], &byte, 1) < 0) {
    // A full pipe already holds a request.
  }
  errno = saved_errno;
}

}  // namespace

struct SuspendSignalWatcher::Platform {
  QSocketNotifier* notifier = nullptr;
  struct sigaction previous {};
  bool installed = false;
};

SuspendSignalWatcher::SuspendSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    log_warning("SuspendSignalWatcher, no pipe, SIGTSTP keeps its default action.");
    return;
  }
  platform_->notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(platform_->notifier, &QSocketNotifier::activated, this, [this] {
    char drained[64];
    while (::read(g_pipe[0], drained, sizeof(drained)) > 0) {
    }
    emit suspendRequested();
  });
  struct sigaction action {};
  action.sa_handler = &on_suspend;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTSTP, &action, &platform_->previous);
  platform_->installed = true;
}

SuspendSignalWatcher::~SuspendSignalWatcher() {
  if (!platform_->installed) return;
  sigaction(SIGTSTP, &platform_->previous, nullptr);
  delete platform_->notifier;
  const int read_end = g_pipe[0];
  const int write_end = g_pipe[1];
  g_pipe[0] = g_pipe[1] = -1;
  ::close(read_end);
  ::close(write_end);
}

void SuspendSignalWatcher::StopSelf() {
  log_info("SuspendSignalWatcher, stopping as the terminal asked.");
  flush_logs();
  // The request's own default action, rather than SIGSTOP: the system discards it
  // for a process group that no shell could continue, instead of stopping for ever.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  struct sigaction ours {};
  sigaction(SIGTSTP, &fallback, &ours);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  pthread_sigmask(SIG_UNBLOCK, &tstp, nullptr);
  // Delivered to this thread before raise returns: the whole program stops here
  // and goes on from here when continued.
  raise(SIGTSTP);
  sigaction(SIGTSTP, &ours, nullptr);
  log_info("SuspendSignalWatcher, continued.");
}

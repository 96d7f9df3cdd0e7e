#include <pthread.h>
#include <signal.h>

#include "log/LogUtil.h"
#include "process/SignalPipe.h"
#include "process/SuspendSignalWatcher.h"

struct SuspendSignalWatcher::Platform {
  std::unique_ptr<SignalPipe> pipe;
};

SuspendSignalWatcher::SuspendSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {
  platform_->pipe =
      std::make_unique<SignalPipe>(std::vector<int>{SIGTSTP}, this, [this] { emit suspendRequested(); });
}

SuspendSignalWatcher::~SuspendSignalWatcher() = default;

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

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "log/LogUtil.h"
#include "process/SignalPipe.h"

namespace {

// Where each signal goes: what the handler may touch, lock-free atomics only.
struct Route {
  std::atomic<int> writeEnd{-1};
  std::atomic<std::atomic<int>*> first{nullptr};
};
Route g_routes[NSIG];

void on_signal(int signal) {
  const int saved_errno = errno;
  Route& route = g_routes[signal];
  if (std::atomic<int>* first = route.first.load()) {
    int none = 0;
    first->compare_exchange_strong(none, signal);
  }
  const char byte = static_cast<char>(signal);
  const int fd = route.writeEnd.load();
  if (fd >= 0 && ::write(fd, &byte, 1) < 0) {
    // A full pipe already holds a wake-up.
  }
  errno = saved_errno;
}

}  // namespace

struct SignalPipe::Platform {
  int pipe[2] = {-1, -1};
  QSocketNotifier* notifier = nullptr;
  std::vector<std::pair<int, struct sigaction>> previous;
};

SignalPipe::SignalPipe(const std::vector<int>& signalNumbers, QObject* context,
                       std::function<void()> onArrival)
    : platform_(new Platform) {
  if (::pipe2(platform_->pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    platform_->pipe[0] = platform_->pipe[1] = -1;
    log_warning("SignalPipe, no pipe: the signals keep their default action.");
    return;
  }
  // The handler must not call into Qt: the notifier wakes the loop instead.
  platform_->notifier = new QSocketNotifier(platform_->pipe[0], QSocketNotifier::Read, context);
  const int readEnd = platform_->pipe[0];
  QObject::connect(platform_->notifier, &QSocketNotifier::activated, context, [readEnd, onArrival] {
    char drained[64];
    while (::read(readEnd, drained, sizeof(drained)) > 0) {
    }
    onArrival();
  });
  struct sigaction action {};
  action.sa_handler = &on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : signalNumbers) {
    g_routes[signal].first = &first_;
    g_routes[signal].writeEnd = platform_->pipe[1];
    struct sigaction previous {};
    sigaction(signal, &action, &previous);
    platform_->previous.emplace_back(signal, previous);
  }
}

SignalPipe::~SignalPipe() {
  if (!Installed()) return;
  for (const auto& [signal, previous] : platform_->previous) {
    sigaction(signal, &previous, nullptr);
    g_routes[signal].writeEnd = -1;
    g_routes[signal].first = nullptr;
  }
  delete platform_->notifier;
  ::close(platform_->pipe[0]);
  ::close(platform_->pipe[1]);
}

bool SignalPipe::Installed() const { return platform_->pipe[0] >= 0; }

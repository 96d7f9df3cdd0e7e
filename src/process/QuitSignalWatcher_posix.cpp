#include <signal.h>

#include "process/QuitSignalWatcher.h"
#include "process/SignalPipe.h"

struct QuitSignalWatcher::Platform {
  std::unique_ptr<SignalPipe> pipe;
};

QuitSignalWatcher::QuitSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {
  platform_->pipe =
      std::make_unique<SignalPipe>(std::vector<int>{SIGTERM, SIGINT}, this, [this] { announce(); });
}

QuitSignalWatcher::~QuitSignalWatcher() = default;

int QuitSignalWatcher::ReceivedSignal() const { return platform_->pipe->First(); }

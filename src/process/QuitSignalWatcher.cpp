#include "process/QuitSignalWatcher.h"

#include <QCoreApplication>
#include <string>

#include "log/LogUtil.h"

void QuitSignalWatcher::announce() {
  const int signal = ReceivedSignal();
  if (announced_ || signal == 0) return;
  announced_ = true;
  log_info("QuitSignalWatcher, termination requested by signal " + std::to_string(signal) + ", quitting.");
  emit signalReceived(signal);
  QCoreApplication::quit();
}

// Starts logging, then dies of a segmentation fault (or, given "wait", waits to be
// terminated), so a test can check the crash marker the failure handler leaves.
#include <QCoreApplication>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <string>

#include "Util/LogUtil.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  log_info("log_crash_helper, about to crash.");
  if (argc > 1 && std::string(argv[1]) == "wait") {
    std::puts("ready");
    std::fflush(stdout);
    QThread::sleep(60);
  }
  std::raise(SIGSEGV);
  return 0;
}

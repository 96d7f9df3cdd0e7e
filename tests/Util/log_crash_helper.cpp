// Starts logging, then dies of a segmentation fault, so a test can check the
// crash marker the failure handler leaves behind.
#include <QCoreApplication>
#include <csignal>

#include "Util/LogUtil.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  log_info("log_crash_helper, about to crash.");
  std::raise(SIGSEGV);
  return 0;
}

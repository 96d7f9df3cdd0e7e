// Starts logging, then dies of a segmentation fault; given "wait", logs four lines
// and runs its event loop until a termination request ends it the normal way.
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <string>

#include "log/LogUtil.h"
#include "process/QuitSignalWatcher.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc > 1 && std::string(argv[1]) == "wait") {
    QuitSignalWatcher quitOnSignal;
    for (int i = 1; i <= 4; ++i) log_info("log_crash_helper, line " + std::to_string(i) + " of 4.");
    std::puts("ready");
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, [] { QCoreApplication::exit(3); });
    const int code = app.exec();
    log_info("log_crash_helper, ended by signal " + std::to_string(quitOnSignal.ReceivedSignal()) + ".");
    return code;
  }
  log_info("log_crash_helper, about to crash.");
  std::raise(SIGSEGV);
  return 0;
}

#include <gtest/gtest.h>
#include <windows.h>

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <functional>

#include "process/QuitSignalWatcher.h"

namespace {

void previous_handler(int) {}

// Runs the event loop with `request` posted into it; returns the announced signal,
// or 0 when the loop had to be ended by the guard.
int announced_after(const std::function<void()>& request) {
  int announced = 0;
  QuitSignalWatcher watcher;
  QObject::connect(&watcher, &QuitSignalWatcher::signalReceived,
                   [&announced](int signal) { announced = signal; });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(3); });
  guard.start(10000);
  QTimer::singleShot(0, request);
  const int code = QCoreApplication::exec();
  return code == 0 ? announced : 0;
}

}  // namespace

// The ways a windowless program is asked to end on Windows: the close message that
// QProcess::terminate and TASKKILL without /F post to its main thread, and the C
// library's signals. Each ends the loop the usual way; the previous C handlers return.
TEST(QuitSignalWatcherWindows, CloseMessagesAndCSignalsEndTheLoopAndHandlersAreRestored) {
  std::signal(SIGTERM, &previous_handler);
  std::signal(SIGINT, &previous_handler);

  EXPECT_EQ(announced_after([] { PostThreadMessageW(GetCurrentThreadId(), WM_CLOSE, 0, 0); }), SIGTERM);
  EXPECT_EQ(announced_after([] { std::raise(SIGTERM); }), SIGTERM);
  // The C library resets a handler before calling it: a second signal must still count.
  EXPECT_EQ(announced_after([] {
              std::raise(SIGINT);
              std::raise(SIGINT);
            }),
            SIGINT);

  EXPECT_EQ(std::signal(SIGTERM, SIG_DFL), &previous_handler);
  EXPECT_EQ(std::signal(SIGINT, SIG_DFL), &previous_handler);
}

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

#include "Util/QuitSignalWatcher.h"

TEST(QuitSignalWatcher, SigintEndsTheEventLoopAndIsNamed) {
  int announced = 0;
  {
    QuitSignalWatcher watcher;
    QObject::connect(&watcher, &QuitSignalWatcher::signalReceived,
                     [&announced](int signal) { announced = signal; });
    QTimer guard;  // never hang: a loop that is not ended by the signal ends with 3
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    guard.start(10000);
    QTimer::singleShot(0, [] { std::raise(SIGINT); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(watcher.ReceivedSignal(), SIGINT);
  }
  EXPECT_EQ(announced, SIGINT);
}

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "TestEnvironment.h"
#include "Util/OSUtil.h"

int main(int argc, char** argv) {
  isolate_user_folders();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // No test may reach the desktop's own session bus; the ones that need a bus start a private daemon.
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + isolated_home() + "/no-session-bus").c_str(), 1);
  const std::string runtime = isolated_home() + "/runtime";
  mkdir(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  QApplication app(argc, argv);
  // Nothing here may power the machine off: a test that reaches the shutdown
  // without its own recorder fails instead.
  OSUtil::setShutdownAction([] { ADD_FAILURE() << "the shutdown action was reached without a recorder"; });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

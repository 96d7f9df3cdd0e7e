#include <gtest/gtest.h>

#include <QApplication>

#include "TestEnvironment.h"
#include "platform/OSUtil.h"

int main(int argc, char** argv) {
  isolate_user_folders();
  isolate_desktop_session();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Nothing here may power the machine off: a test that reaches the shutdown
  // without its own recorder fails instead.
  OSUtil::setShutdownAction([] { ADD_FAILURE() << "the shutdown action was reached without a recorder"; });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "TestEnvironment.h"

int main(int argc, char** argv) {
  isolate_user_folders();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include <QStandardPaths>

#include "TestEnvironment.h"

// Windows takes the per-user folders from the shell, not from the environment. Qt's
// test mode moves the program's data below a "qttest" folder of its own; under Wine
// the whole profile lives in the throwaway prefix the test script makes.
void point_user_folders_at(const QString&) { QStandardPaths::setTestModeEnabled(true); }

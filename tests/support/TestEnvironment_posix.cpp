#include <stdlib.h>
#include <sys/stat.h>

#include "TestEnvironment.h"

void point_user_folders_at(const QString& home) {
  setenv("HOME", home.toUtf8().constData(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").toUtf8().constData(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").toUtf8().constData(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").toUtf8().constData(), 1);
  // No test may reach the desktop's own session bus; the ones that need a bus start a private daemon.
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home + "/no-session-bus").toUtf8().constData(), 1);
  const QByteArray runtime = (home + "/runtime").toUtf8();
  mkdir(runtime.constData(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.constData(), 1);
}

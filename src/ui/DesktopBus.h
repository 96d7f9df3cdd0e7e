#pragma once

#include <QDBusConnection>

// The desktop's session bus as the window's desktop services use it (notifications,
// the launcher entry): one connection, opened on first use.
class DesktopBus {
 public:
  static QDBusConnection connection();
};

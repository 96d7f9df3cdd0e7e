#pragma once

#include <QDBusConnection>
#include <functional>

// The desktop's session bus as the window's desktop services use it (keep-awake,
// notifications, the launcher entry). A bus call may wait for a hung or starting
// desktop, so every piece of work runs on a thread of the bus's own, in the order it
// was posted: nothing here ever holds the interface thread.
//
// One connection, opened on first use and again only when it was lost (a failed
// address is tried again after a pause). A bus is reached only by the address the
// session gives (DBUS_SESSION_BUS_ADDRESS): without one there is no bus, and none is
// started.
class DesktopBus {
 public:
  // Runs work on the bus's thread with the connection, which is not connected when
  // there is no bus. Returns at once.
  static void post(std::function<void(QDBusConnection& bus)> work);
};

#include <QDeadlineTimer>
#include <QString>

#include "ui/DesktopBus.h"

namespace {
// A desktop without a session bus is asked again only after this long.
const int kRetryAfterMs = 10000;
}  // namespace

QDBusConnection DesktopBus::connection() {
  const QString name = QStringLiteral("kovadle-desktop");
  // Given by address when known: libdbus keeps the first session address a process
  // asked for, even one that did not answer.
  const QString address = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
  static QDeadlineTimer nextTry(0);
  static QString failedAddress;
  {
    const QDBusConnection open(name);
    if (open.isConnected() || (address == failedAddress && !nextTry.hasExpired())) return open;
  }
  // A connection that failed keeps its name: drop it, so a bus that appeared since is found.
  QDBusConnection::disconnectFromBus(name);
  const QDBusConnection bus = address.isEmpty()
                                  ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)
                                  : QDBusConnection::connectToBus(address, name);
  if (!bus.isConnected()) {
    failedAddress = address;
    nextTry.setRemainingTime(kRetryAfterMs);
  }
  return bus;
}

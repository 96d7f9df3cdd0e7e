#include <QDBusConnection>

#include "ui/DBusInhibitor.h"
#include "ui/KeepAwake.h"

namespace {
const char* const kConnectionName = "kovadle-keep-awake";

QDBusConnection open_session_bus() {
  const QString name = QString::fromLatin1(kConnectionName);
  // Given by address when known: libdbus keeps the first session address a
  // process asked for, even one that did not answer.
  const QString address = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
  if (address.isEmpty()) return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
  return QDBusConnection::connectToBus(address, name);
}
}  // namespace

// A connection of its own, opened for the request and closed with it: the session
// bus is looked up when a job starts, and an idle program holds nothing on it.
struct KeepAwake::Impl {
  struct Connection {
    QDBusConnection bus = open_session_bus();
    ~Connection() { QDBusConnection::disconnectFromBus(QString::fromLatin1(kConnectionName)); }
  };
  Connection connection;  // declared first, so it closes after the request is withdrawn
  DBusInhibitor inhibitor{connection.bus};
};

KeepAwake::KeepAwake() : impl_(new Impl) {}

KeepAwake::~KeepAwake() = default;

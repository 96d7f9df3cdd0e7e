#include <QDBusConnection>

#include "ui/DBusInhibitor.h"
#include "ui/KeepAwake.h"

namespace {
const char* const kConnectionName = "kovadle-keep-awake";
}  // namespace

// A connection of its own, opened for the request and closed with it: the session
// bus is looked up when a job starts, and an idle program holds nothing on it.
struct KeepAwake::Impl {
  struct Connection {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QString::fromLatin1(kConnectionName));
    ~Connection() { QDBusConnection::disconnectFromBus(QString::fromLatin1(kConnectionName)); }
  };
  Connection connection;  // declared first, so it closes after the request is withdrawn
  DBusInhibitor inhibitor{connection.bus};
};

KeepAwake::KeepAwake() : impl_(new Impl) {}

KeepAwake::~KeepAwake() = default;

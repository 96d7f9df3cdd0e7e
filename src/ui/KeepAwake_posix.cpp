#include <QDBusConnection>

#include "ui/DBusInhibitor.h"
#include "ui/KeepAwake.h"

struct KeepAwake::Impl {
  DBusInhibitor inhibitor{QDBusConnection::sessionBus()};
};

KeepAwake::KeepAwake() : impl_(new Impl) {}

KeepAwake::~KeepAwake() = default;

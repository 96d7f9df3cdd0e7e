#include <QDBusMessage>

#include "log/LogUtil.h"
#include "ui/DBusInhibitor.h"

namespace {

const char* const kApplication = "Kovadle";
const char* const kReason = "Transcoding videos";
// Calls run on the bus's thread; a hung desktop service holds back only the
// requests queued behind them, and not for long.
const int kCallTimeoutMs = 5000;

struct InhibitService {
  const char* name;
  const char* path;
  const char* interface;
  const char* release_method;
  bool session_manager;  // Inhibit(app, toplevel xid, reason, flags) instead of Inhibit(app, reason)
};

// Tried in this order; the first present on the bus is used.
const InhibitService kServices[] = {
    {"org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver", "UnInhibit", false},
    {"org.freedesktop.PowerManagement.Inhibit", "/org/freedesktop/PowerManagement/Inhibit",
     "org.freedesktop.PowerManagement.Inhibit", "UnInhibit", false},
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "Uninhibit", true},
    {"org.mate.SessionManager", "/org/mate/SessionManager", "org.mate.SessionManager", "Uninhibit", true},
};

bool has_owner(const QDBusConnection& bus, const char* name) {
  QDBusMessage ask = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
  ask << QString::fromLatin1(name);
  const QDBusMessage reply = bus.call(ask, QDBus::Block, kCallTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
         reply.arguments().first().toBool();
}

const InhibitService* first_present(const QDBusConnection& bus) {
  for (const InhibitService& service : kServices) {
    if (has_owner(bus, service.name)) return &service;
  }
  return nullptr;
}

}  // namespace

DBusInhibitor::DBusInhibitor(const QDBusConnection& bus) : bus_(bus) {
  if (!bus_.isConnected()) {
    log_info("KeepAwake, no session bus, sleep is not prevented.");
    return;
  }
  const InhibitService* service = first_present(bus_);
  if (service == nullptr) {
    log_info("KeepAwake, no inhibit service on the session bus, sleep is not prevented.");
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(service->name, service->path, service->interface,
                                                     QStringLiteral("Inhibit"));
  if (service->session_manager) {
    call << QString::fromLatin1(kApplication) << 0u << QString::fromLatin1(kReason) << kSessionManagerFlags;
  } else {
    call << QString::fromLatin1(kApplication) << QString::fromLatin1(kReason);
  }
  const QDBusMessage reply = bus_.call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty() ||
      !reply.arguments().first().canConvert<uint>()) {
    log_info("KeepAwake, " + std::string(service->name) +
             " refused the inhibit request:" + reply.errorMessage().toStdString());
    return;
  }
  service_ = QString::fromLatin1(service->name);
  path_ = QString::fromLatin1(service->path);
  interface_ = QString::fromLatin1(service->interface);
  release_method_ = QString::fromLatin1(service->release_method);
  cookie_ = reply.arguments().first().toUInt();
  active_ = true;
  log_info("KeepAwake, sleep prevented through " + service_.toStdString() +
           ", cookie:" + std::to_string(cookie_));
}

DBusInhibitor::~DBusInhibitor() {
  if (!active_) return;
  QDBusMessage call = QDBusMessage::createMethodCall(service_, path_, interface_, release_method_);
  call << cookie_;
  bus_.call(call, QDBus::Block, kCallTimeoutMs);
  log_info("KeepAwake, sleep allowed again.");
}

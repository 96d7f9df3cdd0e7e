#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "text/QtText.h"
#include "ui/DesktopBus.h"
#include "ui/DesktopNotifier.h"

namespace {

// A desktop that takes longer than this is treated as having no notifications.
const int kReplyTimeoutMs = 5000;

// Whether the service renders markup in a body, as it told the connection named
// (a new connection asks again). Used on the bus's thread only.
struct Capabilities {
  QString connection;
  bool markup = false;
};
Capabilities g_known;

QDBusMessage notificationsCall(const QString& method) {
  return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                        QStringLiteral("/org/freedesktop/Notifications"),
                                        QStringLiteral("org.freedesktop.Notifications"), method);
}

// The body as the service is to show it. Where it reads markup, a file name's "<b>"
// or "<img src=...>" would otherwise be taken for its own.
QString shownBody(const QString& body, bool markup) {
  if (!markup) return body;
  QString escaped;
  escaped.reserve(body.size());
  for (const QChar c : body) {
    if (c == '&') {
      escaped += QStringLiteral("&amp;");
    } else if (c == '<') {
      escaped += QStringLiteral("&lt;");
    } else if (c == '>') {
      escaped += QStringLiteral("&gt;");
    } else {
      escaped += c;
    }
  }
  return escaped;
}

void send(const QDBusConnection& bus, const QString& title, const QString& body, bool markup) {
  QDBusMessage call = notificationsCall(QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("kovadle"));
  call << to_qstring(get_product_name()) << 0u << QString() << title << shownBody(body, markup)
       << QStringList() << hints << -1;
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyTimeoutMs));
  const std::string shown = to_utf8(title);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [shown](QDBusPendingCallWatcher* done) {
    if (done->isError())
      log_info("DesktopNotifier, no notification service answered (" + to_utf8(done->error().name()) +
               "), not shown:" + shown);
    done->deleteLater();
  });
}

}  // namespace

struct DesktopNotifier::Platform {};

DesktopNotifier::DesktopNotifier(QWidget* window) : window_(window), platform_(new Platform) {}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::notify(const QString& title, const QString& body) {
  DesktopBus::post([title, body](QDBusConnection& bus) {
    if (!bus.isConnected()) {
      log_info("DesktopNotifier, no session bus, not shown:" + to_utf8(title));
      return;
    }
    if (g_known.connection == bus.baseService()) {
      send(bus, title, body, g_known.markup);
      return;
    }
    auto* asked = new QDBusPendingCallWatcher(
        bus.asyncCall(notificationsCall(QStringLiteral("GetCapabilities")), kReplyTimeoutMs));
    QObject::connect(asked, &QDBusPendingCallWatcher::finished,
                     [bus, title, body](QDBusPendingCallWatcher* done) {
                       const QDBusPendingReply<QStringList> reply = *done;
                       bool markup = false;
                       if (!reply.isError()) {
                         markup = reply.value().contains(QStringLiteral("body-markup"));
                         g_known = {bus.baseService(), markup};
                       }
                       send(bus, title, body, markup);
                       done->deleteLater();
                     });
  });
}

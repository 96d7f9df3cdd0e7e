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
}  // namespace

// Owns the watchers of calls still waiting for their answer.
struct DesktopNotifier::Platform {
  QObject calls;
};

DesktopNotifier::DesktopNotifier(QWidget* window) : window_(window), platform_(new Platform) {}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::notify(const QString& title, const QString& body) {
  QDBusConnection bus = DesktopBus::connection();
  if (!bus.isConnected()) {
    log_info("DesktopNotifier, no session bus, not shown:" + to_utf8(title));
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("kovadle"));
  call << to_qstring(get_product_name()) << 0u << QString() << title << body << QStringList() << hints << -1;
  // Asynchronous: a desktop without the service (or a hung one) must not stall the window.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyTimeoutMs), &platform_->calls);
  const std::string shown = to_utf8(title);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [shown](QDBusPendingCallWatcher* done) {
                     if (done->isError())
                       log_info("DesktopNotifier, no notification service answered (" +
                                to_utf8(done->error().name()) + "), not shown:" + shown);
                     done->deleteLater();
                   });
}

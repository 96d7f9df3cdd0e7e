// Notifications and the launcher entry's figure reach the desktop over D-Bus; a
// desktop without the service costs a log line, never a wait.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QMutex>
#include <QVariantMap>
#include <memory>

#include "PrivateBus.h"
#include "WindowTestSupport.h"
#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "support/QtPrinters.h"
#include "ui/DesktopNotifier.h"
#include "ui/DesktopProgress.h"

namespace {

// Answers on the bus's thread; what it saw is read on the test's.
class StandInNotifications : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  QStringList seen() {
    QMutexLocker locked(&lock_);
    return seen_;
  }

 public slots:
  QStringList GetCapabilities() { return {"body", "body-markup", "body-hyperlinks"}; }
  uint Notify(const QString& app, uint, const QString&, const QString& summary, const QString& body,
              const QStringList&, const QVariantMap&, int) {
    QMutexLocker locked(&lock_);
    seen_ << app + "|" + summary + "|" + body;
    return uint(seen_.size());
  }

 private:
  QMutex lock_;
  QStringList seen_;
};

class LauncherWatch : public QObject {
  Q_OBJECT

 public:
  QStringList seen;

 public slots:
  void update(const QString& app, const QVariantMap& properties) {
    seen << app + "|" + properties.value("progress").toString() + "|" +
                properties.value("progress-visible").toString();
  }
};

}  // namespace

TEST(DesktopNotifications, ReachTheDesktopOrCostOneLogLineAndNoWait) {
  auto notifications = std::make_unique<StandInNotifications>();  // goes after the bus's thread
  PrivateBus desktop;
  ASSERT_TRUE(
      desktop.serve("org.freedesktop.Notifications", "/org/freedesktop/Notifications", notifications.get()));
  LauncherWatch launcher;
  ASSERT_TRUE(desktop.services().connect(QString(), QString(), "com.canonical.Unity.LauncherEntry", "Update",
                                         &launcher, SLOT(update(QString, QVariantMap))));
  const QByteArray no_bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", desktop.address.toUtf8());

  QWidget window;
  window.setWindowTitle("Kovadle");
  DesktopNotifier notifier(&window);
  notifier.jobFinished("/videos/out/clip_output.mp4");
  notifier.jobFailed("/videos/in/broken.mov", "Invalid data found when processing input");
  EXPECT_TRUE(wait_until([&] { return notifications->seen().size() == 2; }, 10000));
  EXPECT_EQ(notifications->seen(),
            QStringList({"Kovadle|Transcoding finished|clip_output.mp4 is ready.",
                         "Kovadle|Transcoding failed|broken.mov\nInvalid data found when processing input"}));

  // The service reads markup in a body (it says so): a name's markup goes escaped.
  notifier.jobFinished("/videos/out/<img src=\"zero\"><b>clip & <a href=\"x\">co.mp4");
  EXPECT_TRUE(wait_until([&] { return notifications->seen().size() == 3; }, 10000));
  EXPECT_EQ(
      notifications->seen().value(2),
      "Kovadle|Transcoding finished|&lt;img src=\"zero\"&gt;&lt;b&gt;clip &amp; &lt;a href=\"x\"&gt;co.mp4 "
      "is ready.");

  DesktopProgress progress(&window);
  progress.show(0.25);
  progress.show(std::nullopt);
  EXPECT_TRUE(wait_until([&] { return launcher.seen.size() == 2; }, 10000));
  EXPECT_EQ(launcher.seen, QStringList({"application://kovadle.desktop|0.25|true",
                                        "application://kovadle.desktop|0|false"}));

  // The service is gone: the call returns at once, and one line says what was lost.
  ASSERT_TRUE(desktop.services().unregisterService("org.freedesktop.Notifications"));
  const QString lost = "no notification service answered";
  const int before = log_lines_with(lost);
  QElapsedTimer call;
  call.start();
  notifier.notify("Transcoding finished", "lost.mp4 is ready.");
  EXPECT_LT(call.elapsed(), 1000);
  EXPECT_TRUE(wait_until([&] { return log_lines_with(lost) > before; }, 10000));
  wait_until([] { return false; }, 300);
  EXPECT_EQ(log_lines_with(lost), before + 1);
  qputenv("DBUS_SESSION_BUS_ADDRESS", no_bus);
}

#include "DesktopNotificationTest_posix.moc"

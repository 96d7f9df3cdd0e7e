#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QThread>

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "support/DBusTestBus.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "ui/DBusInhibitor.h"
#include "ui/KeepAwake.h"

namespace {

// Calls received by the fake desktop services, in order.
class CallLog {
 public:
  void add(const QString& call) {
    QMutexLocker lock(&mutex_);
    calls_ << call;
  }
  QStringList calls() {
    QMutexLocker lock(&mutex_);
    return calls_;
  }

 private:
  QMutex mutex_;
  QStringList calls_;
};

class FakeScreenSaver : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

 public:
  explicit FakeScreenSaver(CallLog& log) : log_(log) {}

 public slots:
  uint Inhibit(const QString& application, const QString& reason) {
    log_.add("Inhibit " + application + (reason.isEmpty() ? " without reason" : " with reason"));
    return 4711;
  }
  void UnInhibit(uint cookie) { log_.add("UnInhibit " + QString::number(cookie)); }

 private:
  CallLog& log_;
};

class FakeSessionManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")

 public:
  explicit FakeSessionManager(CallLog& log) : log_(log) {}

 public slots:
  uint Inhibit(const QString& application, uint toplevel, const QString&, uint flags) {
    log_.add(QString("Inhibit %1 %2 flags %3").arg(application).arg(toplevel).arg(flags));
    return 99;
  }
  void Uninhibit(uint cookie) { log_.add("Uninhibit " + QString::number(cookie)); }

 private:
  CallLog& log_;
};

// Serves the fakes from a thread of their own: the inhibitor's calls block the
// test's thread until they are answered.
class FakeDesktop {
 public:
  explicit FakeDesktop(const QString& address)
      : bus_(QDBusConnection::connectToBus(address, QStringLiteral("fake-desktop"))) {
    thread_.start();
    screen_saver_.moveToThread(&thread_);
    session_manager_.moveToThread(&thread_);
    bus_.registerObject("/ScreenSaver", &screen_saver_, QDBusConnection::ExportAllSlots);
    bus_.registerObject("/org/gnome/SessionManager", &session_manager_, QDBusConnection::ExportAllSlots);
  }
  ~FakeDesktop() {
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-desktop"));
    thread_.quit();
    thread_.wait(10000);
  }

  bool offer_screen_saver() { return bus_.registerService("org.freedesktop.ScreenSaver"); }
  bool offer_session_manager() { return bus_.registerService("org.gnome.SessionManager"); }
  void withdraw_all() {
    bus_.unregisterService("org.freedesktop.ScreenSaver");
    bus_.unregisterService("org.gnome.SessionManager");
  }

  CallLog log;

 private:
  QDBusConnection bus_;
  QThread thread_;
  FakeScreenSaver screen_saver_{log};
  FakeSessionManager session_manager_{log};
};

std::string program_log() {
  flush_logs();
  std::string text;
  const QDir folder(QString::fromStdString(get_applogs_dir()));
  for (const QString& name : folder.entryList({"*INFO*"}, QDir::Files)) {
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::ReadOnly)) text += file.readAll().toStdString();
  }
  return text;
}

}  // namespace

TEST(KeepAwake, InhibitsThroughTheFirstServicePresentAndReleasesWithItsCookie) {
  DBusTestBus bus(QString::fromStdString(make_temp_folder("bus")));
  ASSERT_TRUE(bus.running());
  FakeDesktop desktop(bus.address());
  const QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("client"));
  ASSERT_TRUE(client.isConnected());

  // Both present: the screen saver comes first.
  ASSERT_TRUE(desktop.offer_session_manager());
  ASSERT_TRUE(desktop.offer_screen_saver());
  {
    DBusInhibitor inhibitor(client);
    EXPECT_TRUE(inhibitor.active());
    EXPECT_EQ(inhibitor.service(), "org.freedesktop.ScreenSaver");
    EXPECT_EQ(desktop.log.calls(), QStringList{"Inhibit Kovadle with reason"});
  }
  EXPECT_EQ(desktop.log.calls(), (QStringList{"Inhibit Kovadle with reason", "UnInhibit 4711"}));

  // Only a session manager: asked not to suspend nor go idle.
  desktop.withdraw_all();
  ASSERT_TRUE(desktop.offer_session_manager());
  {
    DBusInhibitor inhibitor(client);
    EXPECT_EQ(inhibitor.service(), "org.gnome.SessionManager");
  }
  EXPECT_EQ(desktop.log.calls().mid(2), (QStringList{"Inhibit Kovadle 0 flags 12", "Uninhibit 99"}));

  // No service: nothing asked, nothing released.
  desktop.withdraw_all();
  {
    DBusInhibitor inhibitor(client);
    EXPECT_FALSE(inhibitor.active());
    EXPECT_TRUE(inhibitor.service().isEmpty());
  }
  EXPECT_EQ(desktop.log.calls().size(), 4);
  EXPECT_NE(program_log().find("KeepAwake, no inhibit service on the session bus"), std::string::npos);
  QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

TEST(KeepAwake, WithoutABusNothingHappensButALogLine) {
  // The test program points the session bus at a socket that does not exist.
  { KeepAwake awake; }
  const QString missing = "unix:path=" + QString::fromStdString(make_temp_folder("nobus")) + "/bus";
  const QDBusConnection nowhere = QDBusConnection::connectToBus(missing, QStringLiteral("nowhere"));
  {
    DBusInhibitor inhibitor(nowhere);
    EXPECT_FALSE(inhibitor.active());
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
  EXPECT_NE(program_log().find("KeepAwake, no session bus, sleep is not prevented."), std::string::npos);
}

#include "KeepAwakeTest.moc"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QProcess>
#include <QThread>
#include <atomic>

#include "WindowTestSupport.h"
#include "support/TestEnvironment.h"
#include "ui/DBusInhibitor.h"
#include "ui/KeepAwake.h"

namespace {

class FakeScreenSaver : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

 public:
  std::atomic<int> inhibits{0};
  std::atomic<uint> released{0};

 public slots:
  uint Inhibit(const QString& application, const QString& reason) {
    if (application == "Kovadle" && !reason.isEmpty()) ++inhibits;
    return 4711;
  }
  void UnInhibit(uint cookie) { released = cookie; }
};

// A private session bus with a fake screen saver answering from a thread of its
// own (the inhibitor's calls block the calling thread).
struct FakeDesktop {
  QProcess daemon;
  QString address;
  QThread service_thread;
  FakeScreenSaver saver;

  FakeDesktop() {
    daemon.start("dbus-daemon",
                 {"--session", "--nofork", "--print-address",
                  "--address=unix:path=" + QString::fromStdString(make_temp_folder("bus")) + "/bus"});
    // The daemon prints its address once it listens.
    while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
    }
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    service_thread.start();
    saver.moveToThread(&service_thread);
    service().registerObject("/ScreenSaver", &saver, QDBusConnection::ExportAllSlots);
  }
  ~FakeDesktop() {
    QDBusConnection::disconnectFromBus("fake-desktop");
    service_thread.quit();
    service_thread.wait(10000);
    daemon.kill();
    daemon.waitForFinished(5000);
  }
  QDBusConnection service() { return QDBusConnection::connectToBus(address, "fake-desktop"); }
  bool open() { return service().registerService("org.freedesktop.ScreenSaver"); }
};

}  // namespace

TEST(KeepAwake, InhibitsThroughTheScreenSaverAndReleasesWithItsCookie) {
  // The test program points the session bus at a socket that does not exist.
  { KeepAwake without_bus; }
  FakeDesktop desktop;
  const QDBusConnection client = QDBusConnection::connectToBus(desktop.address, "client");
  ASSERT_TRUE(client.isConnected()) << desktop.address.toStdString();
  EXPECT_FALSE(DBusInhibitor(client).active());  // no service yet
  ASSERT_TRUE(desktop.open());
  {
    DBusInhibitor inhibitor(client);
    EXPECT_TRUE(inhibitor.active());
    EXPECT_EQ(desktop.saver.inhibits.load(), 1);
    EXPECT_EQ(desktop.saver.released.load(), 0u);
  }
  EXPECT_EQ(desktop.saver.released.load(), 4711u);
  QDBusConnection::disconnectFromBus("client");
}

TEST_F(WindowTest, KeepAwakeIsHeldOnlyWhileAJobRuns) {
  FakeDesktop desktop;
  ASSERT_TRUE(desktop.open()) << desktop.address.toStdString();
  const QByteArray no_bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", desktop.address.toUtf8());
  const std::string jobID = store_job(media + "/in.mp4", output_dir + "/a.mp4");
  open_window();
  wait_until([] { return false; }, 1500);
  EXPECT_EQ(desktop.saver.inhibits.load(), 0);  // an idle window lets the screen lock

  run_slowly(jobID, 3);
  EXPECT_TRUE(wait_until([&] { return desktop.saver.inhibits == 1; }, 10000));
  EXPECT_TRUE(active(jobID));
  EXPECT_EQ(desktop.saver.released.load(), 0u);
  ASSERT_TRUE(wait_until([&] { return JobTable::rowOf(done(), jobID) >= 0; }, 120000));
  EXPECT_EQ(desktop.saver.released.load(), 4711u);
  window.reset();
  qputenv("DBUS_SESSION_BUS_ADDRESS", no_bus);
}

#include "KeepAwakeTest.moc"

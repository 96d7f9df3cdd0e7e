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

// A session bus of our own; its address is empty when the daemon did not start.
QString start_private_bus(QProcess& daemon) {
  daemon.start("dbus-daemon",
               {"--session", "--nofork", "--print-address",
                "--address=unix:path=" + QString::fromStdString(make_temp_folder("bus")) + "/bus"});
  // The daemon prints its address once it listens.
  while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
  }
  return QString::fromUtf8(daemon.readLine()).trimmed();
}

}  // namespace

TEST(KeepAwake, InhibitsThroughTheScreenSaverAndReleasesWithItsCookie) {
  // The test program points the session bus at a socket that does not exist.
  { KeepAwake without_bus; }

  QProcess daemon;
  const QString address = start_private_bus(daemon);
  QDBusConnection service_side = QDBusConnection::connectToBus(address, "fake-desktop");
  const QDBusConnection client = QDBusConnection::connectToBus(address, "client");
  ASSERT_TRUE(client.isConnected() && service_side.isConnected()) << address.toStdString();

  // The inhibitor's calls block this thread, so the fake answers from another.
  QThread service_thread;
  FakeScreenSaver saver;
  service_thread.start();
  saver.moveToThread(&service_thread);
  EXPECT_TRUE(service_side.registerObject("/ScreenSaver", &saver, QDBusConnection::ExportAllSlots));
  {
    DBusInhibitor no_service_yet(client);
    EXPECT_FALSE(no_service_yet.active());
  }
  EXPECT_TRUE(service_side.registerService("org.freedesktop.ScreenSaver"));
  {
    DBusInhibitor inhibitor(client);
    EXPECT_TRUE(inhibitor.active());
    EXPECT_EQ(saver.inhibits.load(), 1);
    EXPECT_EQ(saver.released.load(), 0u);
  }
  EXPECT_EQ(saver.released.load(), 4711u);

  QDBusConnection::disconnectFromBus("client");
  QDBusConnection::disconnectFromBus("fake-desktop");
  service_thread.quit();
  EXPECT_TRUE(service_thread.wait(10000));
  daemon.kill();
  daemon.waitForFinished(5000);
}

TEST_F(WindowTest, KeepAwakeIsHeldOnlyWhileAJobRuns) {
  QProcess daemon;
  const QString address = start_private_bus(daemon);
  QDBusConnection service_side = QDBusConnection::connectToBus(address, "fake-desktop");
  ASSERT_TRUE(service_side.isConnected()) << address.toStdString();
  QThread service_thread;
  FakeScreenSaver saver;
  service_thread.start();
  saver.moveToThread(&service_thread);
  ASSERT_TRUE(service_side.registerObject("/ScreenSaver", &saver, QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(service_side.registerService("org.freedesktop.ScreenSaver"));
  const QByteArray no_bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

  const std::string jobID = store_job(media + "/in.mp4", output_dir + "/a.mp4");
  open_window();
  // An idle window lets the screen lock.
  wait_until([] { return false; }, 1500);
  EXPECT_EQ(saver.inhibits.load(), 0);

  manager->FindJob(jobID)->SetFFmpegCmd(slow_encode_command(output_dir + "/a.mp4", 3));
  open_menu(running(), jobID, "Transcode again");
  EXPECT_TRUE(active(jobID));
  EXPECT_EQ(saver.inhibits.load(), 1);
  EXPECT_EQ(saver.released.load(), 0u);
  ASSERT_TRUE(wait_until([&] { return JobTable::rowOf(done(), jobID) >= 0; }, 120000));
  EXPECT_EQ(saver.released.load(), 4711u);
  EXPECT_EQ(saver.inhibits.load(), 1);

  window.reset();
  qputenv("DBUS_SESSION_BUS_ADDRESS", no_bus);
  QDBusConnection::disconnectFromBus("fake-desktop");
  service_thread.quit();
  EXPECT_TRUE(service_thread.wait(10000));
  daemon.kill();
  daemon.waitForFinished(5000);
}

#include "KeepAwakeTest.moc"

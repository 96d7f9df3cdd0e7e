#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "PrivateBus.h"
#include "WindowTestSupport.h"
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

}  // namespace

TEST_F(WindowTest, KeepAwakeIsHeldOnlyWhileAJobRuns) {
  { KeepAwake without_bus; }  // the test program's bus address leads nowhere: nothing to hold, no crash
  auto saver = std::make_unique<FakeScreenSaver>();  // goes after the bus's thread has ended
  PrivateBus desktop;
  ASSERT_TRUE(desktop.serve("org.freedesktop.ScreenSaver", "/ScreenSaver", saver.get()))
      << desktop.address.toStdString();
  const QByteArray no_bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", desktop.address.toUtf8());
  // A real input: its length is what the encode is judged against.
  const std::string jobID = store_job(make_clip(media, "in.mp4", ClipSpec{}), output_dir + "/a.mp4");
  open_window();
  wait_until([] { return false; }, 1500);
  EXPECT_EQ(saver->inhibits.load(), 0);  // an idle window lets the screen lock

  run_slowly(jobID, 3);
  EXPECT_TRUE(wait_until([&] { return saver->inhibits == 1; }, 10000));
  EXPECT_TRUE(active(jobID));
  EXPECT_EQ(saver->released.load(), 0u);
  ASSERT_TRUE(wait_until([&] { return JobTable::rowOf(done(), jobID) >= 0; }, 120000));
  EXPECT_EQ(saver->released.load(), 4711u);
  window.reset();
  qputenv("DBUS_SESSION_BUS_ADDRESS", no_bus);
}

#include "KeepAwakeTest.moc"

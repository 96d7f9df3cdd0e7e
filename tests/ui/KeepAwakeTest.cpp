#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "PrivateBus.h"
#include "WindowTestSupport.h"
#include "ui/DesktopNotifier.h"
#include "ui/DesktopProgress.h"
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

// A "bus" that takes connections and never answers, as a hung or starting daemon
// does, on a thread of its own; it hangs up after a while, or when closed.
class SilentBus {
 public:
  explicit SilentBus(const QString& path, int hang_up_after_ms = 8000) : path_(QFile::encodeName(path)) {
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path_.constData(), sizeof(address.sun_path) - 1);
    listening_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                 ::listen(listener_, 8) == 0;
    thread_ = std::thread([this, hang_up_after_ms] {
      std::vector<int> taken;
      for (QDeadlineTimer until(hang_up_after_ms); !closing_ && !until.hasExpired();) {
        pollfd ready{listener_, POLLIN, 0};
        if (::poll(&ready, 1, 20) == 1) {
          taken.push_back(::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC));
          ++connections;
        }
      }
      for (int fd : taken) ::close(fd);
      ::close(listener_);
      ::unlink(path_.constData());
    });
  }
  ~SilentBus() { close(); }
  bool listening() const { return listening_; }
  void close() {
    closing_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::atomic<int> connections{0};

 private:
  QByteArray path_;
  int listener_ = -1;
  bool listening_ = false;
  std::atomic<bool> closing_{false};
  std::thread thread_;
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

  // A pipe made without close-on-exec, as a library of ours might make one: the
  // encoder must not hold it (whoever reads it would wait until the encoder ends).
  int pipe_of_ours[2];
  ASSERT_EQ(::pipe(pipe_of_ours), 0);
  run_slowly(jobID, 3);
  EXPECT_TRUE(wait_until([&] { return saver->inhibits == 1; }, 10000));
  EXPECT_TRUE(active(jobID));
  // Held from the start on, while the input's length is still being probed: the
  // encoder comes after.
  ASSERT_TRUE(wait_until([&] { return manager->FindJob(jobID)->GetPid() > 0; }, 30000));
  // Beyond its standard input, output and error (our pipes), only the file it writes.
  const QDir descriptors(QString("/proc/%1/fd").arg(manager->FindJob(jobID)->GetPid()));
  const QStringList held = descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
  EXPECT_GE(held.size(), 3);
  for (const QString& fd : held) {
    const QString target = QFile::symLinkTarget(descriptors.filePath(fd));
    if (fd.toInt() > 2) {
      EXPECT_TRUE(target.startsWith(QString::fromStdString(output_dir))) << target.toStdString();
    }
  }
  ::close(pipe_of_ours[0]);
  ::close(pipe_of_ours[1]);
  EXPECT_EQ(saver->released.load(), 0u);
  ASSERT_TRUE(wait_until([&] { return JobTable::rowOf(done(), jobID) >= 0; }, 120000));
  EXPECT_TRUE(wait_until([&] { return saver->released == 4711u; }, 10000));
  window.reset();
  qputenv("DBUS_SESSION_BUS_ADDRESS", no_bus);
}

// The window asks the desktop and goes on at once, whatever the bus does; and with
// no address it asks no bus at all.
TEST_F(WindowTest, TheInterfaceNeverWaitsForTheDesktopsBus) {
  const QByteArray no_bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
  // At the address given, and where a bus is looked for when none is given.
  SilentBus hung(runtime + "/hung-bus"), standard(runtime + "/bus", 30000);
  ASSERT_TRUE(hung.listening() && standard.listening());
  QWidget window;
  DesktopNotifier notifier(&window);
  DesktopProgress progress(&window);
  const auto at_once = [&] {
    QElapsedTimer call;
    call.start();
    { KeepAwake awake; }
    notifier.notify("Transcoding finished", "clip_output.mp4 is ready.");
    progress.show(0.5);
    progress.show(std::nullopt);
    return call.elapsed();
  };

  const QString dropped_line = "no session bus, not shown:Transcoding finished";
  const int dropped = log_lines_with(dropped_line);
  qputenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + runtime + "/hung-bus").toUtf8());
  EXPECT_LT(at_once(), 1000);
  EXPECT_TRUE(wait_until([&] { return hung.connections > 0; }, 10000));
  hung.close();  // the bus's own thread stops waiting for it

  qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  const int said = log_lines_with("DBUS_SESSION_BUS_ADDRESS is not set");
  EXPECT_LT(at_once(), 1000);
  // Both notifications dropped: everything asked of the bus has run.
  EXPECT_TRUE(wait_until([&] { return log_lines_with(dropped_line) == dropped + 2; }, 30000));
  EXPECT_EQ(log_lines_with("DBUS_SESSION_BUS_ADDRESS is not set"), said + 1);
  EXPECT_EQ(standard.connections.load(), 0);
  qputenv("DBUS_SESSION_BUS_ADDRESS", no_bus);
}

#include "KeepAwakeTest.moc"

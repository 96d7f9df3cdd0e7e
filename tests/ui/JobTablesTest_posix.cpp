// The job tables with a FIFO for an input, and without xdg-open: POSIX only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <fstream>

#include "WindowTestSupport.h"

// After a restart a job's input is not probed yet. "Transcode again" must probe it
// on the pool: here the probe can only end once the interface thread has turned a
// few times, since only the interface thread lets it go.
TEST_F(WindowTest, TranscodeAgainProbesAnUnprobedInputWithoutBlockingTheWindow) {
  // A list whose one entry is a pipe: a pipe itself is never probed.
  const std::string pipe = media + "/from-a-pipe.mp4", list = media + "/list.mp4";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::ofstream(list) << "ffconcat version 1.0\nfile 'from-a-pipe.mp4'\n";
  const std::string job = store_job(list, output_dir + "/pipe.mp4", {false, false, true});
  open_window();
  int ticks = 0;
  bool released = false;
  QTimer interface_thread;
  QObject::connect(&interface_thread, &QTimer::timeout, [&] {
    // Opening the writing end succeeds once a reader (the probe, later the encoder)
    // waits on the reading end; closing it at once ends that reader.
    if (++ticks < 5) return;
    const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
      ::close(writer);
      released = true;
    }
  });
  interface_thread.start(50);
  QElapsedTimer elapsed;
  elapsed.start();
  open_menu(running(), job, "Transcode again");
  EXPECT_TRUE(released) << "the probe ran on the interface thread";
  EXPECT_LT(elapsed.elapsed(), 20000);
  EXPECT_TRUE(wait_until([&] { return !active(job); }, 60000));
  EXPECT_TRUE(manager->FindJob(job)->IsFailed()) << "the unreadable input was still run";
}

TEST_F(WindowTest, WithoutXdgOpenTheUserIsToldWhatToInstall) {
  const std::string output = output_dir + "/a.mp4";
  std::ofstream(output) << "x";
  const std::string job = store_job(media + "/a.mp4", output, {true});
  open_window();
  DesktopOpener::setLauncher({});  // the desktop's own way, with nothing on the search path
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(make_temp_folder("empty-path")));
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + ":" + text; });
  open_menu(done(), job, "Play output");
  open_menu(done(), job, DesktopOpener::showOutputText());
  qputenv("PATH", path);
  const QString told =
      "Information:Kovadle opens files and folders with xdg-open, which is not installed. Please "
      "install the package xdg-utils.";
  EXPECT_EQ(boxes, QStringList({told, told}));
}

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

// The desktop's opener ends in failure after a while (xdg-open's "no method
// available", or the program it chose failing): the window went on meanwhile, and
// the user is told which file and what to install.
TEST_F(WindowTest, AnOpenerThatFailsLaterIsWatchedAndSaysWhatToInstall) {
  const std::string output = output_dir + "/a.mp4";
  std::ofstream(output) << "x";
  const std::string job = store_job(media + "/a.mp4", output, {true});
  open_window();
  DesktopOpener::setLauncher({});
  const std::string tools = make_temp_folder("opener");
  {
    std::ofstream script(tools + "/xdg-open");
    script << "#!/bin/sh\nsleep 1\ncase \"$1\" in *.mp4) exit 3 ;; *) exit 4 ;; esac\n";
  }
  ::chmod((tools + "/xdg-open").c_str(), 0755);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(tools) + ":" + path);
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + ":" + text; });
  QElapsedTimer elapsed;
  elapsed.start();
  open_menu(done(), job, "Play output");
  open_menu(done(), job, DesktopOpener::showOutputText());
  qputenv("PATH", path);
  EXPECT_LT(elapsed.elapsed(), 900) << "the window waited for the opener";
  EXPECT_TRUE(boxes.isEmpty());
  ASSERT_TRUE(wait_until([&] { return boxes.size() == 2; }, 30000)) << boxes.join('\n').toStdString();
  const QString file = QString::fromStdString(output), folder = QString::fromStdString(output_dir);
  boxes.sort();
  EXPECT_EQ(boxes, QStringList({"Information:" + DesktopOpener::noProgramText(file, false),
                                "Information:" +
                                    DesktopOpener::failedText(folder,
                                                              "The program the desktop chose for it failed "
                                                              "(xdg-open ended with exit code 4).")}));
  EXPECT_TRUE(boxes.first().contains(file) && boxes.first().contains("vlc"));
}

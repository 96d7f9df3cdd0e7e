// The job tables with a FIFO for an input: POSIX only.
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

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <fstream>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "support/TestEnvironment.h"

// A job stopped while its start is being prepared (its probe hangs on a pipe) is
// stopped at once, and stays stopped when the probe ends while the publisher runs on.
TEST(JobRun, AStopDuringAStartsPreparationIsFinalAndNeverWaitsForIt) {
  clear_job_folder();
  const std::string folder = make_temp_folder("fifo");
  // The probe follows the list into the pipe and waits for a writer that never
  // comes (a pipe itself is never probed).
  const std::string pipe = folder + "/list.mp4";
  ASSERT_EQ(mkfifo((folder + "/fifo.mp4").c_str(), 0600), 0);
  std::ofstream(pipe) << "ffconcat version 1.0\nfile 'fifo.mp4'\n";
  JobManager manager;
  UpdateGUIThread::setLoadSampler([](int) { return 0; });
  UpdateGUIThread publisher(manager);
  publisher.start();
  JobV3* busy = manager.AddJob(new_record(folder + "/in.mp4", folder + "/busy_output.mp4"));
  busy->SetFFmpegCmd(stand_in_encoder(folder, 600, "0.1", folder + "/busy_output.mp4"));
  manager.RunJob(id_of(busy));
  JobV3* waiting = manager.AddAndRunJob(new_record(pipe, folder + "/pipe_output.mp4"));
  ASSERT_TRUE(wait_until([&] { return child_with_argument(pipe); }, 20000)) << "the publisher never probed";

  QElapsedTimer timer;
  timer.start();
  const JobsStatus status = manager.GetJobsStatus();
  manager.StopJob(id_of(waiting));
  EXPECT_LT(timer.elapsed(), 5000) << "the snapshot or the stop waited for the probe";
  EXPECT_EQ(status.back().state, JobState::Starting);
  EXPECT_TRUE(waiting->IsStopped() && reload(waiting)->GetIsStopped());

  // The probe ends (the pipe is opened and closed), the publisher still runs.
  const int writer = ::open((folder + "/fifo.mp4").c_str(), O_WRONLY);
  ASSERT_GE(writer, 0);
  ::close(writer);
  EXPECT_TRUE(wait_until([&] { return !child_with_argument(pipe); }, 20000));
  QThread::msleep(1500);
  EXPECT_TRUE(waiting->IsStopped()) << "a stopped job was started once its command was built";
  EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/pipe_output.mp4")));

  publisher.Stop();
  UpdateGUIThread::setLoadSampler(nullptr);
  EXPECT_TRUE(busy->IsRunning());
  manager.StopJob(id_of(busy));
  EXPECT_TRUE(wait_until([&] { return busy->IsStopped(); }, 20000));
}

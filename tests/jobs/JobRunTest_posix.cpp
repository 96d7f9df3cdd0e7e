#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <fstream>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "support/TestEnvironment.h"

TEST(JobRun, StopAndSnapshotNeverWaitBehindAProbeThatHangs) {
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
  busy->SetFFmpegCmd(stand_in_encoder(folder, 600, "0.1"));
  manager.RunJob(id_of(busy));
  JobV3* waiting = manager.AddAndRunJob(new_record(pipe, folder + "/pipe_output.mp4"));
  EXPECT_TRUE(waiting->IsQueueing());
  ASSERT_TRUE(wait_until([&] { return child_with_argument(pipe); }, 20000)) << "the publisher never probed";

  QElapsedTimer timer;
  timer.start();
  const auto snapshot = JobManager::ParseJobsProgress(manager.GetJobsProgress());
  manager.StopJob(id_of(waiting));
  EXPECT_LT(timer.elapsed(), 5000) << "the snapshot or the stop waited for the probe";
  EXPECT_EQ(snapshot.at(id_of(waiting)).first, "queueing");
  EXPECT_TRUE(waiting->IsStopped() && !waiting->IsQueueing() && reload(waiting)->GetIsStopped());

  timer.restart();
  publisher.Stop();  // still inside the probe: it is cut short, not waited out
  EXPECT_LT(timer.elapsed(), 5000);
  UpdateGUIThread::setLoadSampler(nullptr);
  EXPECT_FALSE(child_with_argument(pipe));
  EXPECT_FALSE(waiting->IsRunning()) << "a stopped job was started once its command was built";
  EXPECT_TRUE(busy->IsRunning());
  manager.StopJob(id_of(busy));
  EXPECT_TRUE(busy->IsStopped() && !busy->IsRunning());
}

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <atomic>
#include <mutex>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

TEST(UpdateGUIThread, SubmittedJobsEncodeOneAfterAnotherWhileTheLoadAllows) {
  clear_job_folder();
  const std::string folder = make_temp_folder("queue");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  std::mutex lock;
  std::atomic<int> load{80};  // the lowest load that holds the queue
  std::vector<JobV3*> jobs;
  std::vector<int> startedAtSample;  // queued jobs started by each load sample
  std::vector<std::string> snapshots;
  UpdateGUIThread::setLoadSampler([&](int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
    std::lock_guard<std::mutex> guard(lock);
    startedAtSample.push_back(!jobs[1]->IsQueueing() + !jobs[2]->IsQueueing());
    return load.load();
  });
  UpdateGUIThread publisher(manager);
  auto keep = [&](const QString& text) {
    std::lock_guard<std::mutex> guard(lock);
    snapshots.push_back(text.toStdString());
  };
  QObject::connect(&publisher, &UpdateGUIThread::signal_transcode_progress_update, &publisher, keep,
                   Qt::DirectConnection);
  publisher.start();  // no assertion may leave before it is ended below
  {
    std::lock_guard<std::mutex> guard(lock);
    for (const char* name : {"a", "b", "c", "d"})
      jobs.push_back(manager.AddAndRunJob(new_record(input, folder + "/" + name + "_output.mp4")));
  }
  EXPECT_TRUE(jobs[0]->IsRunning() || jobs[0]->IsCompleted());
  for (int i = 1; i < 4; ++i) {
    EXPECT_TRUE(jobs[i]->IsQueueing() && !jobs[i]->IsRunning());
    // The waiting job holds its output name with a placeholder: one empty text line.
    QFile placeholder(QString::fromStdString(jobs[i]->GetJobFile()->GetOutputFile()));
    ASSERT_TRUE(placeholder.open(QIODevice::ReadOnly));
    const QByteArray line = placeholder.readAll();
    EXPECT_TRUE(line == "\n" || line == "\r\n") << line.size();  // "\r\n" on Windows
  }
  manager.StopJob(id_of(jobs[3]));  // a stopped queued job never starts
  QThread::msleep(2500);
  EXPECT_TRUE(jobs[1]->IsQueueing() && jobs[2]->IsQueueing()) << "a busy machine holds the queue";
  load = 79;
  EXPECT_TRUE(wait_until([&] { return !jobs[1]->IsQueueing(); }, 5000));
  EXPECT_TRUE(jobs[2]->IsQueueing()) << "queued jobs start in the order added, one per cycle";
  EXPECT_TRUE(wait_until([&] { return manager.GetRunningJobCount() == 0; }, 180000)) << "all reported";
  publisher.requestInterruption();
  EXPECT_TRUE(publisher.wait(10000));
  UpdateGUIThread::setLoadSampler(nullptr);

  EXPECT_TRUE(jobs[3]->IsStopped() && !jobs[3]->IsRunning() && !jobs[3]->IsCompleted());
  for (size_t i = 1; i < startedAtSample.size(); ++i)
    EXPECT_LE(startedAtSample[i] - startedAtSample[i - 1], 1);
  for (int i = 0; i < 4; ++i) {
    int reports = 0;
    for (const std::string& text : snapshots)
      reports += JobManager::ParseJobsProgress(text)[id_of(jobs[i])].second == "1.000000";
    EXPECT_EQ(reports, i < 3 ? 1 : 0) << "a finished job is reported once, job " << i;
  }

  EXPECT_EQ(jobs[0]->GetPid(), -1);
  EXPECT_TRUE(reload(jobs[0])->GetIsCompleted() && !jobs[0]->IsFailed());
}

TEST(UpdateGUIThread, StopDoesNotWaitOutThePause) {
  JobManager manager;
  UpdateGUIThread publisher(manager);
  publisher.start();
  QThread::msleep(200);  // inside its one-second pause
  QElapsedTimer timer;
  timer.start();
  publisher.Stop();
  EXPECT_LT(timer.elapsed(), 400);
  EXPECT_TRUE(publisher.isFinished());
}

#include <gtest/gtest.h>

#include <QFileInfo>
#include <atomic>
#include <mutex>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {
// Ends the publisher even when an assertion leaves the test early.
struct PublisherGuard {
  UpdateGUIThread& thread;
  ~PublisherGuard() {
    thread.requestInterruption();
    thread.wait(10000);
    UpdateGUIThread::setLoadSampler(nullptr);
  }
};
}  // namespace

TEST(UpdateGUIThread, StartsQueuedJobsInOrderOnePerCycleWhileLoadAllows) {
  clear_job_folder();
  const std::string folder = make_temp_folder("queue");
  ClipSpec spec;
  spec.seconds = 3;
  const std::string input = make_clip(folder, "in.mp4", spec);

  JobManager manager;
  std::mutex lock;
  std::atomic<int> load{95};
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
  QObject::connect(
      &publisher, &UpdateGUIThread::signal_transcode_progress_update, &publisher,
      [&](const QString& text) {
        std::lock_guard<std::mutex> guard(lock);
        snapshots.push_back(text.toStdString());
      },
      Qt::DirectConnection);
  PublisherGuard guard{publisher};
  publisher.start();
  QThread::msleep(1500);
  EXPECT_TRUE(snapshots.empty()) << "nothing was submitted";

  {
    std::lock_guard<std::mutex> guard(lock);
    for (const char* name : {"a", "b", "c", "d"})
      jobs.push_back(manager.AddAndRunJob(new_record(input, folder + "/" + name + "_output.mp4")));
  }
  EXPECT_TRUE(jobs[0]->IsRunning() || jobs[0]->IsCompleted());
  for (int i = 1; i < 4; ++i) {
    EXPECT_TRUE(jobs[i]->IsQueueing() && !jobs[i]->IsRunning());
    // The waiting job holds its output name with a placeholder.
    EXPECT_EQ(QFileInfo(QString::fromStdString(jobs[i]->GetJobFile()->GetOutputFile())).size(), 1);
  }
  manager.StopJob(id_of(jobs[3]));  // a stopped queued job never starts

  QThread::msleep(2500);  // a busy machine holds the queue
  EXPECT_TRUE(jobs[1]->IsQueueing() && jobs[2]->IsQueueing());
  load = 10;
  ASSERT_TRUE(wait_until([&] { return !jobs[1]->IsQueueing(); }, 5000));
  EXPECT_TRUE(jobs[2]->IsQueueing()) << "queued jobs start in the order added, one per cycle";
  ASSERT_TRUE(wait_until(
      [&] {
        return jobs[0]->IsCompleted() && jobs[1]->IsCompleted() && jobs[2]->IsCompleted() &&
               manager.GetRunningJobCount() == 0;
      },
      180000));
  publisher.requestInterruption();
  ASSERT_TRUE(publisher.wait(10000));

  EXPECT_TRUE(jobs[3]->IsStopped() && !jobs[3]->IsRunning() && !jobs[3]->IsCompleted());
  for (size_t i = 1; i < startedAtSample.size(); ++i)
    EXPECT_LE(startedAtSample[i] - startedAtSample[i - 1], 1);
  std::vector<int> completedReports(4, 0);
  int queueingReports = 0;
  for (const std::string& snapshot : snapshots) {
    const auto entries = JobManager::ParseJobsProgress(snapshot);
    for (int i = 0; i < 4; ++i) {
      auto it = entries.find(id_of(jobs[i]));
      completedReports[i] += it != entries.end() && it->second.second == "1.000000";
      queueingReports += it != entries.end() && it->second.first == "queueing";
    }
  }
  EXPECT_EQ(completedReports, (std::vector<int>{1, 1, 1, 0}));
  EXPECT_GT(queueingReports, 0);
}

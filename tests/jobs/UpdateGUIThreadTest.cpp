#include <gtest/gtest.h>

#include <QFileInfo>
#include <atomic>
#include <mutex>
#include <vector>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {
std::string id_of(JobV3* job) { return job->GetJobFile()->GetJobID(); }

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
  ASSERT_FALSE(input.empty());

  JobManager manager;
  std::atomic<int> load{95};
  std::mutex samplesLock;
  // Per load sample: how many of the queued jobs had started by then.
  std::vector<int> startedAtSample;
  std::vector<JobV3*> queued;
  UpdateGUIThread::setLoadSampler([&](int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
    std::lock_guard<std::mutex> guard(samplesLock);
    int started = 0;
    for (JobV3* job : queued) started += job->IsQueueing() ? 0 : 1;
    startedAtSample.push_back(started);
    return load.load();
  });
  std::mutex snapshotsLock;
  std::vector<std::string> snapshots;
  UpdateGUIThread publisher(manager);
  QObject::connect(
      &publisher, &UpdateGUIThread::signal_transcode_progress_update, &publisher,
      [&](const QString& text) {
        std::lock_guard<std::mutex> guard(snapshotsLock);
        snapshots.push_back(text.toStdString());
      },
      Qt::DirectConnection);
  PublisherGuard guard{publisher};
  publisher.start();
  QThread::msleep(1500);
  {
    std::lock_guard<std::mutex> lock(snapshotsLock);
    EXPECT_TRUE(snapshots.empty()) << "nothing was submitted";
  }

  std::vector<JobV3*> jobs;
  for (const char* name : {"a", "b", "c", "d"})
    jobs.push_back(manager.AddAndRunJob(new_record(input, folder + "/" + name + "_output.mp4")));
  EXPECT_TRUE(jobs[0]->IsRunning() || jobs[0]->IsCompleted());
  for (int i = 1; i < 4; ++i) {
    EXPECT_TRUE(jobs[i]->IsQueueing());
    EXPECT_FALSE(jobs[i]->IsRunning());
    // The waiting job holds its output name with a placeholder.
    const std::string output = jobs[i]->GetJobFile()->GetOutputFile();
    EXPECT_EQ(QFileInfo(QString::fromStdString(output)).size(), 1);
  }
  {
    std::lock_guard<std::mutex> lock(samplesLock);
    queued = {jobs[1], jobs[2]};
  }
  // A queued job that is stopped never starts.
  manager.StopJob(id_of(jobs[3]));
  EXPECT_EQ(manager.GetQueueJobCount(), 2);

  // A busy machine holds the queue.
  QThread::msleep(2500);
  EXPECT_TRUE(jobs[1]->IsQueueing());
  EXPECT_TRUE(jobs[2]->IsQueueing());

  load = 10;
  ASSERT_TRUE(wait_until([&] { return !jobs[1]->IsQueueing(); }, 5000));
  EXPECT_TRUE(jobs[2]->IsQueueing()) << "queued jobs start in the order added, one per cycle";
  ASSERT_TRUE(wait_until([&] { return !jobs[2]->IsQueueing(); }, 5000));
  ASSERT_TRUE(wait_until(
      [&] {
        for (int i = 0; i < 3; ++i)
          if (!jobs[i]->IsCompleted()) return false;
        return manager.GetRunningJobCount() == 0;
      },
      180000));
  QThread::msleep(1200);
  publisher.requestInterruption();
  ASSERT_TRUE(publisher.wait(10000));

  EXPECT_FALSE(jobs[3]->IsCompleted());
  EXPECT_FALSE(jobs[3]->IsRunning());
  EXPECT_TRUE(jobs[3]->IsStopped());
  {
    std::lock_guard<std::mutex> lock(samplesLock);
    ASSERT_GE(startedAtSample.size(), 2u);
    // b before c, never both in one cycle.
    for (size_t i = 1; i < startedAtSample.size(); ++i)
      EXPECT_LE(startedAtSample[i] - startedAtSample[i - 1], 1);
  }
  std::vector<int> completedReports(3, 0);
  int queueingReports = 0;
  for (const std::string& snapshot : snapshots) {
    const auto entries = JobManager::ParseJobsProgress(snapshot);
    EXPECT_EQ(entries.count(id_of(jobs[3])), 0u);
    for (int i = 0; i < 3; ++i) {
      auto it = entries.find(id_of(jobs[i]));
      if (it != entries.end() && it->second.second == "1.000000") ++completedReports[i];
    }
    auto it = entries.find(id_of(jobs[2]));
    if (it != entries.end() && it->second.first == "queueing") ++queueingReports;
  }
  EXPECT_EQ(completedReports, std::vector<int>(3, 1));
  EXPECT_GT(queueingReports, 0);
}

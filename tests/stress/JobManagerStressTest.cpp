// Several threads adding, running, pausing, stopping, deleting and completely deleting jobs
// against a running publisher. Built with the sanitizers too, where any
// use-after-free or data race on the manager's lists shows up.
#include <gtest/gtest.h>

#include <QFile>
#include <mutex>
#include <random>
#include <thread>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

TEST(JobManagerStress, EveryJobEndsInOneStateThatItsFileAgreesWith) {
  clear_job_folder();
  const std::string folder = make_temp_folder("stress");
  // The stand-in encoder copies a two-second clip; the input is measured against it.
  make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  UpdateGUIThread::setLoadSampler([](int) { return 0; });
  UpdateGUIThread publisher(manager);
  publisher.start();

  std::mutex lock;
  std::vector<std::string> ids;
  auto work = [&](unsigned seed) {
    std::mt19937 random(seed);
    for (int round = 0; round < 120; ++round) {
      std::string id;
      {
        std::lock_guard<std::mutex> guard(lock);
        if (!ids.empty()) id = ids[random() % ids.size()];
      }
      const std::string output = folder + "/" + std::to_string(seed) + "_" + std::to_string(round) + ".mp4";
      JobV3* added = nullptr;
      switch (random() % 11) {
        case 0:
        case 1:  // a new job, run at once or later
          added = manager.AddJob(new_record(folder + "/in.mp4", output));
          added->SetFFmpegCmd(stand_in_encoder(folder, 4, "0.05", output));
          if (random() % 2) manager.RunJob(id_of(added));
          break;
        case 2:  // an input that cannot be probed: the encode fails
          if (random() % 4 == 0) added = manager.AddAndRunJob(new_record(folder + "/missing.mp4", output));
          break;
        case 3:
        case 4:
          manager.RunJob(id);
          break;
        case 5:
          manager.StopJob(id);
          break;
        case 6:
        case 7:  // to the recycle bin (refused while active), and maybe out for good
          manager.MoveToRecycleBin(id);
          if (random() % 2) manager.TotalDelete(id, true);
          break;
        case 8:  // held, one job or every running one
          if (random() % 2) {
            manager.PauseJob(id);
          } else {
            manager.PauseAllJobs();
          }
          break;
        case 9:
          if (random() % 2) {
            manager.ResumeJob(id);
          } else {
            manager.ResumeAllJobs();
          }
          break;
        default:
          manager.GetExeJobCount();
          manager.GetQueueJobCount();
          manager.GetJobsProgress();
      }
      if (added != nullptr) {
        std::lock_guard<std::mutex> guard(lock);
        ids.push_back(id_of(added));
      }
      if (random() % 3 == 0) QThread::msleep(random() % 30);
    }
  };
  std::vector<std::thread> threads;
  for (unsigned seed = 1; seed <= 4; ++seed) threads.emplace_back(work, seed);
  for (std::thread& thread : threads) thread.join();
  manager.ResumeAllJobs();
  // Let the publisher work through part of the queue, so some encodes complete.
  wait_until([&] { return manager.GetExeJobCount() == 0 && manager.GetQueueJobCount() == 0; }, 5000);

  manager.StopAllJobs();
  publisher.Stop();
  UpdateGUIThread::setLoadSampler(nullptr);
  manager.GetJobsProgress();  // reports and drops the finished ones
  EXPECT_EQ(manager.GetRunningJobCount(), 0);

  int gone = 0, completed = 0, stopped = 0;
  for (const std::string& id : ids) {
    const QString path = QString::fromStdString(get_appjobfile_dir() + "/" + id + ".jobfile");
    JobV3* job = manager.FindJob(id);
    if (job == nullptr) {
      ++gone;
      EXPECT_FALSE(QFile::exists(path)) << "a job deleted for good came back: " << id;
      continue;
    }
    completed += job->IsCompleted();
    stopped += job->IsStopped() || job->IsFailed();
    EXPECT_FALSE(JobStateRules::IsActive(job->GetState()) || job->GetPid() != -1) << id;
    // A completed job's output is whole, and so is any file under a job's output name
    // (an earlier run's output): never a partial file or an empty reservation.
    const std::string output = job->GetJobFile()->GetOutputFile();
    if (job->IsCompleted() || QFile::exists(QString::fromStdString(output))) {
      EXPECT_EQ(probe_entry(output, "v:0", "codec_name"), "h264")
          << id << " " << JobStateRules::Name(job->GetState());
    }
    // A restart finds every job as it is now.
    auto* stored = new JobFile;
    try {
      stored->Load(path.toStdString());
    } catch (const std::string& reason) {
      ADD_FAILURE() << id << ": " << reason;
      delete stored;
      continue;
    }
    EXPECT_EQ(JobV3(stored).GetState(), job->GetState()) << id;
  }
  EXPECT_TRUE(gone > 0 && completed > 0 && stopped > 0)
      << "the rounds did not reach every state: " << gone << " gone, " << completed << " completed, "
      << stopped << " stopped";
}

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "jobs/JobCreation.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {

// A new video as a front end adds it: its output's name reserved, its job file written.
JobV3* add_video(JobManager& manager, const std::string& input, const std::string& output) {
  const JobCreation::Result created = JobCreation::Create(input, output, "95", "h264", ".mp4");
  EXPECT_NE(created.record, nullptr) << created.reason;
  return manager.AddAndRunJob(created.record);
}

// A stored job whose encode takes `seconds` of wall time.
JobV3* slow_job(JobManager& manager, const std::string& folder, const std::string& name, int seconds) {
  const std::string output = folder + "/" + name + "_output.mp4";
  JobV3* job = manager.AddJob(new_record(folder + "/in.mp4", output));
  job->SetFFmpegCmd(paced_encode(seconds, output));
  return job;
}

}  // namespace

TEST(UpdateGUIThread, WaitingJobsStartBesideARunningOneOnlyWhileTheLoadAllows) {
  clear_job_folder();
  const std::string folder = make_temp_folder("queue");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  std::atomic<int> load{80};  // the lowest load that holds the queue
  std::mutex lock;
  std::vector<std::string> snapshots;
  std::vector<JobFinished> ends;
  UpdateGUIThread::setLoadSampler([&](int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
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
  QObject::connect(
      &publisher, &UpdateGUIThread::signal_job_finished, &publisher,
      [&](const JobFinished& end) {
        std::lock_guard<std::mutex> guard(lock);
        ends.push_back(end);
      },
      Qt::DirectConnection);
  publisher.start();  // no assertion may leave before it is ended below

  JobV3* running = slow_job(manager, folder, "slow", 20);
  manager.RunJob(id_of(running));
  std::vector<JobV3*> jobs;
  for (const char* name : {"a", "b", "c"})
    jobs.push_back(add_video(manager, input, folder + "/" + name + "_output.mp4"));
  for (JobV3* job : jobs) {
    EXPECT_TRUE(job->IsQueueing());
    // The waiting job holds its output's name beside it; nothing has the name itself.
    const std::string output = job->GetJobFile()->GetOutputFile();
    EXPECT_TRUE(JobOutput::IsReservedFor(output, id_of(job)) && !OSUtil::isPathTaken(output)) << output;
  }
  manager.StopJob(id_of(jobs[2]));  // a stopped waiting job never starts, and gives its name up
  EXPECT_FALSE(OSUtil::isOutputNameTaken(jobs[2]->GetJobFile()->GetOutputFile()));
  QThread::msleep(2500);
  EXPECT_TRUE(jobs[0]->IsQueueing() && jobs[1]->IsQueueing()) << "a busy machine holds the queue";
  load = 79;
  EXPECT_TRUE(wait_until([&] { return !jobs[0]->IsQueueing(); }, 5000));
  EXPECT_TRUE(jobs[1]->IsQueueing()) << "waiting jobs start in the order added, one per cycle";
  EXPECT_TRUE(wait_until([&] { return jobs[0]->IsCompleted() && jobs[1]->IsCompleted(); }, 180000));
  manager.StopJob(id_of(running));
  EXPECT_TRUE(wait_until(
      [&] {
        std::lock_guard<std::mutex> guard(lock);
        return manager.GetRunningJobCount() == 0 && ends.size() == 4;
      },
      30000))
      << "all reported";
  // Once the last job has left, one empty snapshot says so.
  EXPECT_TRUE(wait_until(
      [&] {
        std::lock_guard<std::mutex> guard(lock);
        return !snapshots.empty() && JobManager::ParseJobsProgress(snapshots.back()).empty();
      },
      5000))
      << "the last snapshot still lists a job";
  publisher.Stop();
  UpdateGUIThread::setLoadSampler(nullptr);

  std::lock_guard<std::mutex> guard(lock);
  for (int i = 0; i < 2; ++i) {
    int reports = 0;
    for (const std::string& text : snapshots)
      reports += JobManager::ParseJobsProgress(text)[id_of(jobs[i])].second == "1.000000";
    EXPECT_EQ(reports, 1) << "a finished job is reported once, job " << i;
    EXPECT_EQ(probe_entry(jobs[i]->GetJobFile()->GetOutputFile(), "v:0", "codec_name"), "h264");
  }
  // Each run's end is told once, in the order the runs ended.
  ASSERT_EQ(ends.size(), 4u);
  EXPECT_EQ(ends[0].jobID + JobStateRules::Name(ends[0].outcome), id_of(jobs[2]) + "stopped");
  EXPECT_EQ(ends[3].jobID + JobStateRules::Name(ends[3].outcome), id_of(running) + "stopped");
}

// A machine kept busy by other programs must not hold the queue while none of our
// jobs encodes, and a video added later never starts ahead of those waiting.
TEST(UpdateGUIThread, TheOldestWaitingJobStartsWhenNoneOfOursEncodesWhateverTheLoad) {
  clear_job_folder();
  const std::string folder = make_temp_folder("stall");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  UpdateGUIThread::setLoadSampler([](int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
    return 100;
  });
  UpdateGUIThread publisher(manager);
  publisher.start();
  JobV3* first = slow_job(manager, folder, "first", 30);
  JobV3* second = slow_job(manager, folder, "second", 30);
  JobV3* third = slow_job(manager, folder, "third", 30);
  for (JobV3* job : {first, second, third}) manager.RunJob(id_of(job));
  EXPECT_TRUE(first->IsRunning() && second->IsQueueing() && third->IsQueueing());
  manager.StopJob(id_of(first));
  QElapsedTimer timer;
  timer.start();
  EXPECT_TRUE(wait_until([&] { return second->IsRunning(); }, 10000));
  EXPECT_LT(timer.elapsed(), 2500) << "it waited more than two cycles";
  EXPECT_TRUE(third->IsQueueing());
  JobV3* added = add_video(manager, input, folder + "/added_output.mp4");
  EXPECT_TRUE(added->IsQueueing());
  manager.StopJob(id_of(second));
  EXPECT_TRUE(wait_until([&] { return third->IsRunning(); }, 10000));
  EXPECT_TRUE(added->IsQueueing()) << "a later video jumped the queue";
  publisher.Stop();
  UpdateGUIThread::setLoadSampler(nullptr);
  manager.StopAllJobs();
}

// The window and kovadle-cli share the machine's run slots: a job waits while another
// Kovadle process encodes, however idle the machine would let it start alone (the
// load is reported busy, so only the rule for no encoding job could start it), and
// each can tell the other's waiting job from its encoding one.
TEST(UpdateGUIThread, AJobWaitsWhileAnotherKovadleProcessEncodes) {
  clear_job_folder();
  const std::string folder = make_temp_folder("two-processes");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager window, cli;  // two owners of one data folder, as two processes are
  UpdateGUIThread::setLoadSampler([](int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
    return 100;
  });
  UpdateGUIThread publisher(window);
  publisher.start();
  JobV3* encoding = slow_job(cli, folder, "cli", 30);
  cli.RunJob(id_of(encoding));
  ASSERT_TRUE(wait_until([&] { return encoding->GetPid() > 0; }, 30000));
  JobV3* waiting = add_video(window, input, folder + "/window_output.mp4");
  EXPECT_TRUE(waiting->IsQueueing());
  QThread::msleep(2500);
  EXPECT_TRUE(waiting->IsQueueing()) << "it started beside another Kovadle's encode";
  EXPECT_EQ(window.GetJobsElsewhere().encoding, 1);
  EXPECT_EQ(encoding->GetJobFile()->ElsewhereState(), JobState::Idle);  // its own process holds it
  JobFile seen;
  seen.Load(waiting->GetJobFile()->GetPath());
  EXPECT_EQ(seen.ElsewhereState(), JobState::Waiting);
  seen.Load(encoding->GetJobFile()->GetPath());
  EXPECT_EQ(seen.ElsewhereState(), JobState::Encoding);
  EXPECT_EQ(cli.CountJobsElsewhere().waiting, 1);

  cli.StopJob(id_of(encoding));
  EXPECT_TRUE(wait_until([&] { return waiting->IsCompleted(); }, 60000))
      << JobStateRules::Name(waiting->GetState());
  EXPECT_EQ(window.CountJobsElsewhere().Active(), 0);
  publisher.Stop();
  UpdateGUIThread::setLoadSampler(nullptr);
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

// The first figure of a run shows as soon as the encoder reports it, not at the
// publisher's next cycle (made a minute long here).
TEST(UpdateGUIThread, PublishesTheFirstProgressLineAtOnce) {
  clear_job_folder();
  const std::string folder = make_temp_folder("first-figure");
  const std::string encoder =
      OSUtil::pathJoin(OSUtil::getAppDir(), "stalling_encoder_helper" + OSUtil::executableSuffix());

  // A minute long, as the probe measures it: the first figure is a sixtieth.
  ClipSpec minute = clip_of(160, 120, 60);
  minute.fps = 5;
  minute.audio = false;
  const std::string input = make_clip(folder, "in.mp4", minute);

  JobManager manager;
  UpdateGUIThread::setCycleMs(60000);
  std::mutex lock;
  std::vector<double> progress;
  UpdateGUIThread publisher(manager);
  QObject::connect(
      &publisher, &UpdateGUIThread::signal_jobs_status, &publisher,
      [&](const JobsStatus& status) {
        std::lock_guard<std::mutex> guard(lock);
        for (const JobStatus& job : status) progress.push_back(job.progress);
      },
      Qt::DirectConnection);
  publisher.start();
  QThread::msleep(200);  // inside its first (long) pause
  JobV3* job = manager.AddJob(new_record(input, folder + "/out.mp4"));
  job->SetFFmpegCmd(CommandLine(encoder).AddPath(folder + "/out.mp4"));
  ASSERT_TRUE(manager.RunJob(id_of(job)));
  EXPECT_TRUE(wait_until(
      [&] {
        std::lock_guard<std::mutex> guard(lock);
        return !progress.empty() && progress.back() > 0;
      },
      30000))
      << "no figure before the next cycle";
  manager.StopAllJobs();
  publisher.Stop();
  UpdateGUIThread::setCycleMs(0);
  std::lock_guard<std::mutex> guard(lock);
  // The snapshots before it knew no figure yet.
  const auto first = std::find_if(progress.begin(), progress.end(), [](double value) { return value > 0; });
  ASSERT_NE(first, progress.end());
  EXPECT_NEAR(*first, 1.0 / 60, 1e-3);
}

// Taking up the stored jobs on a thread of their own: the order they arrive in, what
// the engine knows when they do, the clean-up first, an engine that goes meanwhile;
// and finding one job among thousands.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <fstream>

#include "environment/AppConstants.h"
#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "jobs/StoredJobLoader.h"
#include "platform/OSUtil.h"
#include "support/StoredJobFiles.h"
#include "support/TestEnvironment.h"

namespace {

using Kind = StoredJobFile::Kind;


std::vector<StoredJobFile> store_jobs(int count, const std::string& output_dir) {
  static const Kind kinds[] = {Kind::Interrupted, Kind::Completed,        Kind::Stopped,
                               Kind::Completed,   Kind::DeletedCompleted, Kind::Failed,
                               Kind::Completed,   Kind::DeletedStopped,   Kind::Completed};
  std::vector<StoredJobFile> jobs;
  for (int i = 0; i < count; ++i) {
    StoredJobFile job;
    job.jobID = numbered_job_id(i);
    job.input = "/in/" + std::to_string(i) + ".mp4";
    job.output = output_dir + "/" + std::to_string(i) + "_output.mp4";
    job.kind = kinds[i % 9];
    jobs.push_back(job);
  }
  write_job_files(get_appjobfile_dir(), jobs);
  return jobs;
}

bool unfinished(Kind kind) {
  return kind == Kind::Interrupted || kind == Kind::Stopped || kind == Kind::Failed;
}

}  // namespace

TEST(StoredJobs, UnfinishedOnesArriveFirstAndEachIsKnownWhenItArrives) {
  clear_job_folder();
  const std::vector<StoredJobFile> jobs = store_jobs(3000, make_temp_folder("stored-out"));
  std::ofstream(get_appjobfile_dir() + "/broken.jobfile") << "{\"JobID\": ";

  JobManager manager;
  JobEngine engine(manager);
  std::vector<JobIDs> parts;
  bool all_known = true;
  int loaded = 0;
  QObject::connect(&engine, &JobEngine::storedJobsTaken, [&](const JobIDs& ids) {
    for (const std::string& id : ids) all_known = all_known && engine.View(id).has_value();
    parts.push_back(ids);
  });
  QObject::connect(&engine, &JobEngine::storedJobsLoaded, [&] { loaded += !engine.LoadingStoredJobs(); });
  engine.StartLoadingStoredJobs();
  EXPECT_TRUE(engine.LoadingStoredJobs());
  ASSERT_TRUE(wait_with_events([&] { return loaded > 0; }, 120000));
  wait_with_events([] { return false; }, 100);
  EXPECT_EQ(loaded, 1);

  JobIDs first, rest;
  for (const StoredJobFile& job : jobs) (unfinished(job.kind) ? first : rest).push_back(job.jobID);
  ASSERT_FALSE(parts.empty());
  EXPECT_EQ(parts[0], first);
  JobIDs later;
  for (size_t i = 1; i < parts.size(); ++i) later.insert(later.end(), parts[i].begin(), parts[i].end());
  EXPECT_EQ(later, rest);
  EXPECT_TRUE(all_known) << "a job arrived before the engine knew it";
  EXPECT_EQ(manager.GetAllJobCount(), 3000);
  EXPECT_EQ(manager.GetRunningJobCount(), 0);  // nothing starts by itself
  EXPECT_EQ(engine.View(jobs[5].jobID)->reason, "No space left on device");
}

// Checked on the loader's own thread, as the first part is handed over: nothing of
// what a killed run or an earlier version left is there for a job to run into.
TEST(StoredJobs, LeftoversAreGoneBeforeTheFirstJobIsHandedOver) {
  clear_job_folder();
  const std::vector<StoredJobFile> jobs = store_jobs(30, make_temp_folder("stored-out"));
  // A killed run of the first job left its reservation and its partial output, and an
  // earlier version its placeholder under the output's name.
  const std::string partial = JobOutput::PartialPath(jobs[0].output, jobs[0].jobID);
  const std::string reservation = OSUtil::outputReservationPath(jobs[0].output);
  std::ofstream(jobs[0].output) << "\n";
  std::ofstream(partial) << "half a video";
  // Its bytes as the program writes them everywhere: no "\r" on Windows.
  std::ofstream(reservation, std::ios::binary) << jobs[0].jobID << "\n";

  JobManager manager;
  std::atomic<int> calls{0};
  std::atomic<bool> cleaned{false}, last{false};
  StoredJobLoader loader(manager, get_appjobfile_dir(), [&](const std::vector<std::string>&, bool end) {
    if (calls++ == 0)
      cleaned = !OSUtil::isPathTaken(partial) && !OSUtil::isPathTaken(jobs[0].output) &&
                !OSUtil::isPathTaken(reservation);
    last = last || end;
  });
  loader.Start();
  ASSERT_TRUE(wait_with_events([&] { return bool(last); }, 60000));
  EXPECT_TRUE(cleaned) << "what the killed run left was still there";
  EXPECT_EQ(manager.GetAllJobCount(), 30);
}

TEST(StoredJobs, AnEngineThatGoesWhileLoadingEndsItAndHearsNoMore) {
  clear_job_folder();
  const std::vector<StoredJobFile> jobs = store_jobs(3000, make_temp_folder("stored-out"));
  JobManager manager;
  int heard = 0;
  {
    JobEngine engine(manager);
    QObject::connect(&engine, &JobEngine::storedJobsTaken, [&heard] { ++heard; });
    engine.StartLoadingStoredJobs();
  }
  // Nothing is taken up once it has gone, and what was is whole.
  const int taken = manager.GetAllJobCount();
  wait_with_events([] { return false; }, 300);
  EXPECT_EQ(heard, 0);
  EXPECT_EQ(manager.GetAllJobCount(), taken);
  EXPECT_LE(taken, 3000);
  for (JobV3* job : manager.GetAllJobs()) EXPECT_EQ(manager.FindJob(job->GetJobFile()->GetJobID()), job);
}

// A copied job file names a JobID twice: the job taken up first is the one found,
// the other once that one is gone for good.
TEST(StoredJobs, AJobIsFoundAmongThousandsAndACopyOnlyAfterTheOriginalIsGone) {
  clear_job_folder();
  std::vector<StoredJobFile> jobs = store_jobs(2000, make_temp_folder("stored-out"));
  StoredJobFile copy = jobs[4];  // in the recycle bin
  copy.input = "/in/copy.mp4";
  const std::string copies = make_temp_folder("copies");
  write_job_files(copies, {copy});
  ASSERT_TRUE(QFile::rename(QString::fromStdString(copies + "/" + copy.jobID + ".jobfile"),
                            QString::fromStdString(get_appjobfile_dir() + "/zz-copy.jobfile")));

  JobManager manager;
  manager.LoadStoredJobs();
  ASSERT_EQ(manager.GetAllJobCount(), 2001);
  for (const int i : {0, 1, 999, 1998, 1999})
    EXPECT_EQ(manager.FindJob(jobs[i].jobID)->GetJobFile()->GetInputFile(), jobs[i].input);
  EXPECT_EQ(manager.FindJob(numbered_job_id(5000)), nullptr);
  EXPECT_TRUE(manager.TotalDelete(jobs[4].jobID, false));
  ASSERT_NE(manager.FindJob(jobs[4].jobID), nullptr);
  EXPECT_EQ(manager.FindJob(jobs[4].jobID)->GetJobFile()->GetInputFile(), "/in/copy.mp4");
  EXPECT_TRUE(manager.TotalDelete(jobs[4].jobID, false));
  EXPECT_EQ(manager.FindJob(jobs[4].jobID), nullptr);
}

#include <gtest/gtest.h>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"

namespace {
const std::string kHeader = "  Duration: 00:01:40.00, start: 0.000000, bitrate: 2500 kb/s\n";
const std::string kAt25 = "frame= 625 fps=250 q=28.0 time=00:00:25.00 bitrate=335.5kbits/s speed=2x\n";
}  // namespace

TEST(JobProgress, OutputLinesUpdateOnlyTheFiguresTheyCarry) {
  struct Case {
    std::vector<std::string> lines;
    std::vector<double> figures;  // seconds done, duration, left; -1 when unknown
  };
  // Clock texts, the last "time=", values kept over N/A, no duration from a progress line.
  const Case cases[] = {
      {{"frame=1 time=01:02:03.50 bitrate=1 speed=1x"}, {3723.5, -1, -1}},
      {{kHeader, "frame=9 time=00:00:10.00 time=00:00:20.00 speed=2x"}, {20, 100, 40}},
      {{kHeader, kAt25, "frame=600 time=00:00:30.00 bitrate=N/A speed=N/A"}, {30, 100, 35}},
      {{kHeader, kAt25, "  Duration: N/A, start: 0.000000, bitrate: N/A"}, {25, 100, 37.5}},
      {{kHeader, "frame=1 time=00:00:50.00 speed=4x Duration: 00:09:00.00"}, {50, 100, 12.5}},
  };
  for (const Case& c : cases) {
    Job job;
    for (const std::string& line : c.lines) job.HandleOutputLine(line);
    const std::vector<double> figures = {job.GetTimeDone(), job.GetDuration(), job.GetEstimateLeftTime()};
    EXPECT_EQ(figures, c.figures) << c.lines.back();
  }
}

TEST(JobProgress, SnapshotTextsReportFinishedJobsOnce) {
  clear_job_folder();
  JobManager manager;
  JobV3* encoding = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  JobV3* waiting = manager.AddJob(new_record("/in/b.mp4", "/out/b.mp4"));
  waiting->SetIsQueueing(true);
  JobV3* starting = manager.AddJob(new_record("/in/c.mp4", "/out/c.mp4"));
  JobV3* done = manager.AddJob(new_record("/in/d.mp4", "/out/d.mp4"));
  for (JobV3* job : {encoding, done})
    for (const std::string& line : {kHeader, kAt25}) job->HandleOutputLine(line);
  done->SetIsCompleted(true);
  for (JobV3* job : {encoding, waiting, starting, done}) manager.OpRunningJobs("add", job);

  std::map<std::string, std::pair<std::string, std::string>> expected = {
      {id_of(encoding), {"37.500000", "0.250000"}},
      {id_of(waiting), {"queueing", "queueing"}},
      {id_of(starting), {"-1.000000", "-1.000000"}},
      {id_of(done), {"0.000000", "1.000000"}}};
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress()), expected);
  expected.erase(id_of(done));
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress()), expected);

  // Transcoding a finished job again while another executes queues it; the next
  // snapshot must not take it for finished and drop it from the queue.
  encoding->SetIsRunning(true);
  manager.RunJob(id_of(done));
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress())[id_of(done)].first, "queueing");
  EXPECT_TRUE(done->IsQueueing() && !reload(done)->GetIsCompleted() && manager.GetRunningJobCount() == 4);
  encoding->SetIsRunning(false);

  // The reader skips what the writer never writes.
  EXPECT_EQ(JobManager::ParseJobsProgress(R"({"b":"1.000000|0.5","a":"nobar","c":"|","d":5})"),
            (decltype(expected){{"b", {"1.000000", "0.5"}}}));
  EXPECT_TRUE(JobManager::ParseJobsProgress("not json").empty());
}

// Complete deletion removes only jobs in the recycle bin, and their output only on request.
TEST(JobManager, TotalDeleteRemovesOnlyRecycledJobs) {
  clear_job_folder();
  const std::string dir = make_temp_folder("total-delete");
  JobManager manager;
  JobV3* kept = manager.AddJob(new_record("/in/a.mp4", dir + "/a_output.mp4"));
  JobV3* binned = manager.AddJob(new_record("/in/b.mp4", dir + "/b_output.mp4"));
  for (const char* name : {"/a_output.mp4", "/b_output.mp4"})
    QFile(QString::fromStdString(dir + name)).open(QIODevice::WriteOnly);
  binned->SetIsDeleted(true);
  JobV3* waiting = manager.AddJob(new_record("/in/c.mp4", dir + "/c_output.mp4"));
  waiting->SetIsDeleted(true);
  waiting->SetIsQueueing(true);
  const std::string kept_file = kept->GetJobFile()->GetPath(), binned_file = binned->GetJobFile()->GetPath();

  manager.TotalDelete(id_of(kept), true);
  manager.TotalDelete(id_of(binned), true);
  manager.TotalDelete(id_of(waiting), true);  // never while it runs or waits
  EXPECT_EQ(manager.GetAllJobCount(), 2);
  EXPECT_TRUE(manager.FindJob(id_of(waiting)) != nullptr &&
              QFile::exists(QString::fromStdString(waiting->GetJobFile()->GetPath())));
  // The record of a job deleted for good is never written again.
  binned->SetIsDeleted(false);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(binned_file)));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(kept_file)) &&
              QFile::exists(QString::fromStdString(dir + "/a_output.mp4")));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(binned_file)) ||
               QFile::exists(QString::fromStdString(dir + "/b_output.mp4")));
}

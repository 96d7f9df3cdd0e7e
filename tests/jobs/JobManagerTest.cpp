#include <gtest/gtest.h>

#include "Util/OSUtil.h"
#include "Util/TxtUtil.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"

TEST(JobManager, ListOperationsMatchJobsByJobID) {
  clear_job_folder();
  JobManager manager;
  JobV3* a = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  JobV3* b = manager.AddJob(new_record("/in/b.mp4", "/out/b.mp4"));
  EXPECT_EQ(manager.FindJob(id_of(b)), b);
  EXPECT_EQ(manager.FindJob("no-such-job"), nullptr);
  manager.OpRunningJobs("add", a);
  manager.OpRunningJobs("add", b);
  EXPECT_TRUE(manager.OpRunningJobs("clear", nullptr).empty());

  JobFile* twin = new JobFile;
  twin->Load(a->GetJobFile()->GetPath());
  JobV3 sameJob(twin);
  manager.OpRunningJobs("remove", &sameJob);
  manager.OpRunningJobs("remove", &sameJob);
  EXPECT_EQ(manager.OpRunningJobs("get", nullptr), std::vector<JobV3*>{b});

  manager.RunJob("no-such-job");
  manager.StopJob("no-such-job");
  manager.TotalDelete("no-such-job", true);
  EXPECT_EQ(manager.GetAllJobs(), (std::vector<JobV3*>{a, b}));
}

TEST(JobManager, SnapshotReportsEveryListedJobAndFinishedJobsOnce) {
  clear_job_folder();
  JobManager manager;
  EXPECT_EQ(manager.GetJobsProgress(), "{}");
  JobV3* encoding = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  encoding->HandleOutputLine("  Duration: 00:01:40.00, start: 0.000000, bitrate: 2500 kb/s\n");
  encoding->HandleOutputLine("frame=  10 fps=0.0 q=0.0 size=0kB time=00:00:25.00 bitrate=N/A speed=2x\n");
  JobV3* waiting = manager.AddJob(new_record("/in/b.mp4", "/out/b.mp4"));
  waiting->SetIsQueueing(true);
  JobV3* starting = manager.AddJob(new_record("/in/c.mp4", "/out/c.mp4"));
  JobFile* doneRecord = new_record("/in/d.mp4", "/out/d.mp4");
  doneRecord->SetIsCompleted(true);
  JobV3* done = manager.AddJob(doneRecord);
  done->HandleOutputLine("  Duration: 00:00:10.00, start: 0.000000, bitrate: 2500 kb/s\n");
  done->HandleOutputLine("frame=  10 fps=0.0 q=0.0 size=0kB time=00:00:09.00 bitrate=N/A speed=3x\n");
  for (JobV3* job : {encoding, waiting, starting, done}) manager.OpRunningJobs("add", job);

  std::map<std::string, std::pair<std::string, std::string>> expected = {
      {id_of(encoding), {"37.500000", "0.250000"}},
      {id_of(waiting), {"queueing", "queueing"}},
      {id_of(starting), {"-1.000000", "-1.000000"}},
      {id_of(done), {"0.000000", "1.000000"}}};
  std::string expectedText;
  for (const auto& e : expected)
    expectedText += (expectedText.empty() ? "{\"" : ",\"") + e.first + "\":\"" + e.second.first + "|" +
                    e.second.second + "\"";
  const std::string first = manager.GetJobsProgress();
  EXPECT_EQ(first, expectedText + "}");
  EXPECT_EQ(JobManager::ParseJobsProgress(first), expected);
  expected.erase(id_of(done));
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress()), expected);
  EXPECT_EQ(manager.GetAllJobCount(), 4);

  // The reader skips what the writer never writes.
  const auto parsed = JobManager::ParseJobsProgress(R"({"b":"1.000000|0.5","a":"nobar","c":"|","d":5})");
  EXPECT_EQ(parsed, (std::map<std::string, std::pair<std::string, std::string>>{{"b", {"1.000000", "0.5"}}}));
  EXPECT_TRUE(JobManager::ParseJobsProgress("not json").empty());
}

TEST(JobManager, TotalDeleteRemovesOnlyRecycledJobs) {
  clear_job_folder();
  const std::string out = make_temp_folder("outputs");
  JobManager manager;
  JobV3* kept = manager.AddJob(new_record("/in/a.mp4", out + "/a.mp4"));
  JobV3* withOutput = manager.AddJob(new_record("/in/b.mp4", out + "/b.mp4"));
  JobV3* outputGone = manager.AddJob(new_record("/in/c.mp4", out + "/c.mp4"));
  for (const char* name : {"/a.mp4", "/b.mp4"}) TxtUtil::write_text_file(out + name, "x");
  const std::string withOutputFile = withOutput->GetJobFile()->GetPath();
  const std::string outputGoneFile = outputGone->GetJobFile()->GetPath();

  manager.TotalDelete(id_of(kept), true);
  EXPECT_TRUE(OSUtil::isFileExist(kept->GetJobFile()->GetPath()) && OSUtil::isFileExist(out + "/a.mp4"));
  withOutput->SetIsDeleted(true);
  outputGone->SetIsDeleted(true);
  manager.TotalDelete(id_of(withOutput), true);
  EXPECT_FALSE(OSUtil::isFileExist(withOutputFile) || OSUtil::isFileExist(out + "/b.mp4"));
  manager.TotalDelete(id_of(outputGone), true);
  EXPECT_FALSE(OSUtil::isFileExist(outputGoneFile));
  EXPECT_EQ(manager.GetAllJobs(), std::vector<JobV3*>{kept});
}

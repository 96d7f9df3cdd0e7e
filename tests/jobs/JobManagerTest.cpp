#include <gtest/gtest.h>

#include <map>

#include "Util/OSUtil.h"
#include "Util/TxtUtil.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"

namespace {
std::string id_of(JobV3* job) { return job->GetJobFile()->GetJobID(); }
}  // namespace

TEST(JobManager, ListOperationsWorkByJobID) {
  clear_job_folder();
  JobManager manager;
  JobV3* a = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  JobV3* b = manager.AddJob(new_record("/in/b.mp4", "/out/b.mp4"));
  EXPECT_EQ(manager.GetAllJobs(), (std::vector<JobV3*>{a, b}));
  EXPECT_EQ(manager.FindJob(id_of(b)), b);
  EXPECT_EQ(manager.FindJob("no-such-job"), nullptr);

  EXPECT_TRUE(manager.OpRunningJobs("add", a).empty());
  manager.OpRunningJobs("add", b);
  EXPECT_TRUE(manager.OpRunningJobs("clear", nullptr).empty());
  EXPECT_EQ(manager.GetRunningJobCount(), 2);

  // "remove" matches by JobID, not by pointer.
  JobFile* twin = new JobFile;
  twin->Load(a->GetJobFile()->GetPath());
  JobV3 sameJob(twin);
  manager.OpRunningJobs("remove", &sameJob);
  EXPECT_EQ(manager.OpRunningJobs("get", nullptr), (std::vector<JobV3*>{b}));
  manager.OpRunningJobs("remove", &sameJob);
  EXPECT_EQ(manager.GetRunningJobCount(), 1);

  // Unknown JobIDs change nothing.
  manager.RunJob("no-such-job");
  manager.StopJob("no-such-job");
  manager.TotalDelete("no-such-job", true);
  EXPECT_EQ(manager.GetAllJobCount(), 2);
  EXPECT_EQ(manager.GetExeJobCount(), 0);
}

TEST(JobManager, SnapshotReportsEachJobAndFinishedJobsOnce) {
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
  std::string expectedText = "{";
  for (const auto& entry : expected) {
    if (expectedText.size() > 1) expectedText += ",";
    expectedText += "\"" + entry.first + "\":\"" + entry.second.first + "|" + entry.second.second + "\"";
  }
  expectedText += "}";

  const std::string first = manager.GetJobsProgress();
  EXPECT_EQ(first, expectedText);
  EXPECT_EQ(JobManager::ParseJobsProgress(first), expected);

  // The completed job was reported; it is gone from the next snapshot.
  EXPECT_EQ(manager.GetRunningJobCount(), 3);
  expected.erase(id_of(done));
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress()), expected);
  EXPECT_EQ(manager.GetAllJobCount(), 4);
}

TEST(JobManager, SnapshotReaderIgnoresWhatTheWriterNeverWrites) {
  const auto parsed =
      JobManager::ParseJobsProgress("{\"b\":\"1.000000|0.500000\",\"a\":\"nobar\",\"c\":\"|\",\"d\":5}");
  ASSERT_EQ(parsed.size(), 1u);
  EXPECT_EQ(parsed.at("b"), std::make_pair(std::string("1.000000"), std::string("0.500000")));
  EXPECT_TRUE(JobManager::ParseJobsProgress("not json").empty());
  EXPECT_TRUE(JobManager::ParseJobsProgress("[\"a|b\"]").empty());
}

TEST(JobManager, TotalDeleteRemovesOnlyRecycledJobs) {
  clear_job_folder();
  const std::string folder = make_temp_folder("outputs");
  JobManager manager;
  JobV3* kept = manager.AddJob(new_record("/in/a.mp4", folder + "/a_output.mp4"));
  JobV3* withOutput = manager.AddJob(new_record("/in/b.mp4", folder + "/b_output.mp4"));
  JobV3* outputGone = manager.AddJob(new_record("/in/c.mp4", folder + "/c_output.mp4"));
  for (const char* name : {"/a_output.mp4", "/b_output.mp4"}) TxtUtil::write_text_file(folder + name, "x");
  const std::string keptFile = kept->GetJobFile()->GetPath();
  const std::string withOutputFile = withOutput->GetJobFile()->GetPath();
  const std::string outputGoneFile = outputGone->GetJobFile()->GetPath();

  manager.TotalDelete(id_of(kept), true);
  EXPECT_EQ(manager.FindJob(id_of(kept)), kept);
  EXPECT_TRUE(OSUtil::isFileExist(keptFile));
  EXPECT_TRUE(OSUtil::isFileExist(folder + "/a_output.mp4"));

  withOutput->SetIsDeleted(true);
  outputGone->SetIsDeleted(true);
  const std::string id = id_of(withOutput);
  manager.TotalDelete(id, true);
  EXPECT_EQ(manager.FindJob(id), nullptr);
  EXPECT_FALSE(OSUtil::isFileExist(withOutputFile));
  EXPECT_FALSE(OSUtil::isFileExist(folder + "/b_output.mp4"));

  manager.TotalDelete(id_of(outputGone), true);
  EXPECT_FALSE(OSUtil::isFileExist(outputGoneFile));
  EXPECT_EQ(manager.GetAllJobCount(), 1);
}

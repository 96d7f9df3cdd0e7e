#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdlib>
#include <memory>

#include "Util/CmdUtil.h"
#include "Util/TxtUtil.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "planning/FFmpegCmdGenerator.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {
constexpr int kEncodeTimeoutMs = 180000;

std::string id_of(JobV3* job) { return job->GetJobFile()->GetJobID(); }

// The job's record as a restarted program would read it.
std::unique_ptr<JobFile> reload(JobV3* job) {
  auto copy = std::make_unique<JobFile>();
  copy->Load(job->GetJobFile()->GetPath());
  return copy;
}

class JobRun : public ::testing::Test {
 protected:
  void SetUp() override {
    clear_job_folder();
    folder_ = make_temp_folder("run");
  }
  std::string folder_;
};
}  // namespace

TEST_F(JobRun, EncodeCompletesWithParsedFiguresAndAPlannedOutput) {
  const std::string input = make_clip(folder_, "in.mp4", ClipSpec{});
  ASSERT_FALSE(input.empty());
  const std::string output = folder_ + "/in_output.mp4";
  JobManager manager;
  JobV3* job = manager.AddAndRunJob(new_record(input, output));
  EXPECT_TRUE(job->IsRunning());
  EXPECT_EQ(manager.GetExeJobCount(), 1);
  ASSERT_TRUE(wait_until([job] { return !job->IsRunning(); }, kEncodeTimeoutMs));

  EXPECT_TRUE(job->IsCompleted());
  EXPECT_FALSE(job->IsFailed());
  EXPECT_EQ(job->GetPid(), -1);
  EXPECT_NEAR(job->GetDuration(), 2.0, 0.1);  // from "Duration:"
  EXPECT_EQ(job->GetEstimateLeftTime(), 0);   // speed was read, nothing left
  EXPECT_TRUE(reload(job)->GetIsCompleted());
  EXPECT_FALSE(reload(job)->GetIsStopped());
  // Finished but not yet reported: no longer executing, still listed.
  EXPECT_EQ(manager.GetExeJobCount(), 0);
  EXPECT_EQ(manager.GetRunningJobCount(), 1);
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress())[id_of(job)],
            std::make_pair(std::string("0.000000"), std::string("1.000000")));
  EXPECT_EQ(manager.GetRunningJobCount(), 0);

  const FFmpegParams planned = FFmpegCmdGenerator::GetFFmpegParams(input, output, "95");
  EXPECT_EQ(probe_entry(output, "v:0", "width"), planned.at("Width"));
  EXPECT_EQ(probe_entry(output, "v:0", "height"), planned.at("Height"));
  EXPECT_NEAR(std::atof(probe_entry(output, "format", "duration").c_str()), 2.0, 0.2);

  // Transcoding again clears the completed mark before the encoder starts.
  manager.RunJob(id_of(job));
  EXPECT_FALSE(reload(job)->GetIsCompleted());
  EXPECT_EQ(job->GetProgress() == 1.0, false);
  ASSERT_TRUE(wait_until([job] { return !job->IsRunning(); }, kEncodeTimeoutMs));
  EXPECT_TRUE(reload(job)->GetIsCompleted());
}

TEST_F(JobRun, StopKillsTheEncoderAndRecordsTheStop) {
  ClipSpec spec;
  spec.width = 320;
  spec.height = 240;
  spec.seconds = 20;
  const std::string input = make_clip(folder_, "long.mp4", spec);
  ASSERT_FALSE(input.empty());
  JobManager manager;
  JobV3* job = manager.AddJob(new_record(input, folder_ + "/long_output.mp4"));
  // Read at the input's own pace, so the encode is certainly still going when stopped.
  job->SetFFmpegCmd(CmdUtil::QuotePath(encoder_path()) + " -y -re -i " + CmdUtil::QuotePath(input) +
                    " -c:v libx264 -preset ultrafast " + CmdUtil::QuotePath(folder_ + "/long_output.mp4"));
  manager.RunJob(id_of(job));
  ASSERT_TRUE(wait_until([job] { return job->GetProgress() > 0; }, 30000)) << "no live progress";
  EXPECT_NEAR(job->GetDuration(), 20.0, 0.1);
  EXPECT_LT(job->GetProgress(), 1.0);
  const int64_t pid = job->GetPid();
  ASSERT_GT(pid, 0);
  // Asking an executing job to run again starts no second encoder.
  manager.RunJob(id_of(job));
  EXPECT_EQ(job->GetPid(), pid);
  EXPECT_EQ(manager.GetRunningJobCount(), 1);

  manager.StopJob(id_of(job));
  EXPECT_TRUE(process_gone(pid));
  EXPECT_FALSE(job->IsRunning());
  EXPECT_TRUE(job->IsStopped());
  EXPECT_FALSE(job->IsCompleted());
  EXPECT_EQ(job->GetPid(), -1);
  EXPECT_EQ(job->GetTimeDone(), 0);
  EXPECT_EQ(job->GetDuration(), -1);
  EXPECT_EQ(job->GetProgress(), -1);
  EXPECT_EQ(job->GetEstimateLeftTime(), -1);
  EXPECT_TRUE(reload(job)->GetIsStopped());
  EXPECT_FALSE(reload(job)->GetIsCompleted());
  EXPECT_EQ(manager.GetRunningJobCount(), 0);

  // A second stop changes nothing, not even the file.
  const std::string before = TxtUtil::read_text_file(job->GetJobFile()->GetPath());
  const auto modified = QFileInfo(QString::fromStdString(job->GetJobFile()->GetPath())).lastModified();
  job->Stop();
  EXPECT_TRUE(job->IsStopped());
  EXPECT_EQ(TxtUtil::read_text_file(job->GetJobFile()->GetPath()), before);
  EXPECT_EQ(QFileInfo(QString::fromStdString(job->GetJobFile()->GetPath())).lastModified(), modified);
}

TEST_F(JobRun, FailedEncodesAreNotCompletedAndReportedOnce) {
  const std::string notVideo = folder_ + "/notes.txt";
  TxtUtil::write_text_file(notVideo, "this is not a video\n");
  JobManager manager;
  JobV3* unreadable = manager.AddAndRunJob(new_record(notVideo, folder_ + "/notes_output.mp4"));
  ASSERT_TRUE(wait_until([unreadable] { return !unreadable->IsRunning(); }, kEncodeTimeoutMs));

  JobV3* noEncoder = manager.AddJob(new_record(notVideo, folder_ + "/other_output.mp4"));
  noEncoder->SetFFmpegCmd(CmdUtil::QuotePath(folder_ + "/missing/encoder") + " -y -i " +
                          CmdUtil::QuotePath(notVideo) + " " + CmdUtil::QuotePath(folder_ + "/o.mp4"));
  manager.RunJob(id_of(noEncoder));
  ASSERT_TRUE(wait_until([noEncoder] { return !noEncoder->IsRunning(); }, 60000));

  for (JobV3* job : {unreadable, noEncoder}) {
    SCOPED_TRACE(job->GetJobFile()->GetOutputFile());
    EXPECT_TRUE(job->IsFailed());
    EXPECT_FALSE(job->IsCompleted());
    EXPECT_TRUE(job->IsStopped());
    EXPECT_TRUE(reload(job)->GetIsStopped());
    EXPECT_FALSE(reload(job)->GetIsCompleted());
  }
  const auto first = JobManager::ParseJobsProgress(manager.GetJobsProgress());
  const auto failed = std::make_pair(std::string("Failed"), std::string("Failed"));
  EXPECT_EQ(first.at(id_of(unreadable)), failed);
  EXPECT_EQ(first.at(id_of(noEncoder)), failed);
  EXPECT_EQ(manager.GetJobsProgress(), "{}");

  // The log says why, with the encoder's own last words.
  const std::string logs = read_program_logs();
  EXPECT_NE(logs.find("encoder failed, jobID:" + id_of(unreadable) + ",exit code:1"), std::string::npos);
  EXPECT_NE(logs.find("Invalid data found when processing input"), std::string::npos);
  EXPECT_NE(logs.find("encoder failed, jobID:" + id_of(noEncoder)), std::string::npos);

  // A failed job can be transcoded again (and fails again, cleanly).
  manager.RunJob(id_of(noEncoder));
  EXPECT_FALSE(noEncoder->IsFailed());
  ASSERT_TRUE(wait_until([noEncoder] { return !noEncoder->IsRunning(); }, 60000));
  EXPECT_TRUE(noEncoder->IsFailed());
}

TEST_F(JobRun, StopRightAfterStartDoesNotWaitForTheWholeEncode) {
  ClipSpec spec;
  spec.width = 320;
  spec.height = 240;
  spec.seconds = 30;
  const std::string input = make_clip(folder_, "long.mp4", spec);
  ASSERT_FALSE(input.empty());
  JobManager manager;
  for (int attempt = 0; attempt < 5; ++attempt) {
    JobV3* job = manager.AddJob(new_record(input, folder_ + "/long_output.mp4"));
    job->SetFFmpegCmd(CmdUtil::QuotePath(encoder_path()) + " -y -re -i " + CmdUtil::QuotePath(input) +
                      " -c:v libx264 -preset ultrafast " + CmdUtil::QuotePath(folder_ + "/long_output.mp4"));
    // Vary the moment of the stop around the encoder's start.
    manager.RunJob(id_of(job));
    QThread::msleep(static_cast<unsigned long>(attempt * 15));
    QElapsedTimer timer;
    timer.start();
    manager.StopJob(id_of(job));
    EXPECT_LT(timer.elapsed(), 10000) << "the stop waited for the encode to end";
    EXPECT_TRUE(job->IsStopped());
    EXPECT_FALSE(job->IsRunning());
    EXPECT_FALSE(job->IsCompleted());
  }
}

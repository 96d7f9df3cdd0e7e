#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <memory>

#include "Util/CmdUtil.h"
#include "Util/OSUtil.h"
#include "Util/TxtUtil.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "planning/FFmpegCmdGenerator.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {
constexpr int kEncodeTimeoutMs = 180000;

// The job's record as a restarted program would read it.
std::unique_ptr<JobFile> reload(JobV3* job) {
  auto copy = std::make_unique<JobFile>();
  copy->Load(job->GetJobFile()->GetPath());
  return copy;
}

bool ended(JobV3* job) {
  return wait_until([job] { return !job->IsRunning(); }, kEncodeTimeoutMs);
}

class JobRun : public ::testing::Test {
 protected:
  void SetUp() override {
    clear_job_folder();
    folder_ = make_temp_folder("run");
  }

  // A real-time encode of a long clip: certainly still going when stopped.
  JobV3* addSlowJob(JobManager& manager) {
    ClipSpec spec;
    spec.width = 320;
    spec.height = 240;
    spec.seconds = 20;
    if (input_.empty()) input_ = make_clip(folder_, "long.mp4", spec);
    const std::string output = folder_ + "/long_output.mp4";
    JobV3* job = manager.AddJob(new_record(input_, output));
    job->SetFFmpegCmd(CmdUtil::QuotePath(encoder_path()) + " -y -re -i " + CmdUtil::QuotePath(input_) +
                      " -c:v libx264 -preset ultrafast " + CmdUtil::QuotePath(output));
    return job;
  }

  std::string folder_;
  std::string input_;
};
}  // namespace

TEST_F(JobRun, EncodeCompletesWithParsedFiguresAndThePlannedOutput) {
  const std::string input = make_clip(folder_, "in.mp4", ClipSpec{});
  const std::string output = folder_ + "/in_output.mp4";
  JobManager manager;
  JobV3* job = manager.AddAndRunJob(new_record(input, output));
  ASSERT_TRUE(ended(job));
  EXPECT_TRUE(job->IsCompleted() && !job->IsFailed());
  EXPECT_EQ(job->GetPid(), -1);
  EXPECT_NEAR(job->GetDuration(), 2.0, 0.1);
  EXPECT_EQ(job->GetEstimateLeftTime(), 0);  // the speed was read too
  EXPECT_TRUE(reload(job)->GetIsCompleted());
  // Finished but not yet reported: not executing, still listed, then reported once.
  EXPECT_EQ(manager.GetExeJobCount(), 0);
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress())[id_of(job)],
            std::make_pair(std::string("0.000000"), std::string("1.000000")));
  EXPECT_EQ(manager.GetRunningJobCount(), 0);

  const FFmpegParams planned = FFmpegCmdGenerator::GetFFmpegParams(input, output, "95");
  EXPECT_EQ(probe_entry(output, "v:0", "width") + "x" + probe_entry(output, "v:0", "height"),
            planned.at("Width") + "x" + planned.at("Height"));
  EXPECT_EQ(probe_entry(output, "v:0", "r_frame_rate"),
            std::to_string(std::stoi(planned.at("VideoFramerate"))) + "/1");
  EXPECT_NEAR(std::stod(probe_entry(output, "format", "duration")), 2.0, 0.2);

  // Transcoding again clears the completed mark before the encoder starts.
  manager.RunJob(id_of(job));
  EXPECT_FALSE(reload(job)->GetIsCompleted());
  ASSERT_TRUE(ended(job));
  EXPECT_TRUE(reload(job)->GetIsCompleted());
}

TEST_F(JobRun, StopKillsTheEncoderAndRecordsTheStop) {
  JobManager manager;
  JobV3* job = addSlowJob(manager);
  manager.RunJob(id_of(job));
  ASSERT_TRUE(wait_until([job] { return job->GetProgress() > 0; }, 30000)) << "no live progress";
  EXPECT_NEAR(job->GetDuration(), 20.0, 0.1);
  const int64_t pid = job->GetPid();
  ASSERT_GT(pid, 0);
  manager.RunJob(id_of(job));  // already executing: no second encoder
  EXPECT_EQ(job->GetPid(), pid);
  EXPECT_EQ(manager.GetRunningJobCount(), 1);

  manager.StopJob(id_of(job));
  EXPECT_TRUE(process_gone(pid));
  EXPECT_TRUE(job->IsStopped() && !job->IsRunning() && !job->IsCompleted());
  EXPECT_EQ(job->GetPid(), -1);
  EXPECT_EQ(job->GetTimeDone(), 0);
  EXPECT_EQ(job->GetProgress(), -1);
  EXPECT_EQ(job->GetEstimateLeftTime(), -1);
  EXPECT_TRUE(reload(job)->GetIsStopped() && !reload(job)->GetIsCompleted());
  EXPECT_EQ(manager.GetRunningJobCount(), 0);

  // A second stop changes nothing, not even the file.
  const QString path = QString::fromStdString(job->GetJobFile()->GetPath());
  const auto modified = QFileInfo(path).lastModified();
  job->Stop();
  EXPECT_TRUE(job->IsStopped());
  EXPECT_EQ(QFileInfo(path).lastModified(), modified);
}

TEST_F(JobRun, StopRightAfterStartDoesNotWaitForTheWholeEncode) {
  JobManager manager;
  for (int attempt = 0; attempt < 5; ++attempt) {
    JobV3* job = addSlowJob(manager);
    manager.RunJob(id_of(job));
    QThread::msleep(static_cast<unsigned long>(attempt * 15));  // around the encoder's start
    QElapsedTimer timer;
    timer.start();
    manager.StopJob(id_of(job));
    EXPECT_LT(timer.elapsed(), 10000) << "the stop waited for the encode to end";
    EXPECT_TRUE(job->IsStopped() && !job->IsRunning() && !job->IsCompleted());
  }
}

TEST_F(JobRun, FailedEncodesAreNotCompletedAndReportedOnce) {
  const std::string notVideo = folder_ + "/notes.txt";
  TxtUtil::write_text_file(notVideo, "this is not a video\n");
  JobManager manager;
  JobV3* unreadable = manager.AddAndRunJob(new_record(notVideo, folder_ + "/notes_output.mp4"));
  ASSERT_TRUE(ended(unreadable));
  JobV3* noEncoder = manager.AddJob(new_record(notVideo, folder_ + "/other_output.mp4"));
  noEncoder->SetFFmpegCmd(CmdUtil::QuotePath(folder_ + "/missing/encoder") + " -y -i in.mp4 out.mp4");
  manager.RunJob(id_of(noEncoder));
  ASSERT_TRUE(ended(noEncoder));

  for (JobV3* job : {unreadable, noEncoder}) {
    EXPECT_TRUE(job->IsFailed() && job->IsStopped() && !job->IsCompleted());
    EXPECT_TRUE(reload(job)->GetIsStopped() && !reload(job)->GetIsCompleted());
  }
  const auto failed = std::make_pair(std::string("Failed"), std::string("Failed"));
  auto first = JobManager::ParseJobsProgress(manager.GetJobsProgress());
  EXPECT_EQ(first[id_of(unreadable)], failed);
  EXPECT_EQ(first[id_of(noEncoder)], failed);
  EXPECT_EQ(manager.GetJobsProgress(), "{}");

  // The log says why, in the encoder's own words.
  const std::string logs = read_program_logs();
  EXPECT_NE(logs.find("encoder failed, jobID:" + id_of(unreadable) + ",exit code:1"), std::string::npos);
  EXPECT_NE(logs.find("Invalid data found when processing input"), std::string::npos);
  EXPECT_NE(logs.find("encoder failed, jobID:" + id_of(noEncoder) +
                      ",exit code:-1,last output:(the encoder could not"),
            std::string::npos);

  // A failed job can be transcoded again.
  manager.RunJob(id_of(noEncoder));
  EXPECT_FALSE(noEncoder->IsFailed());
  ASSERT_TRUE(ended(noEncoder));
}

TEST_F(JobRun, LeavingTheProgramEndsARunningEncoderCleanly) {
  ClipSpec spec;
  spec.seconds = 20;
  spec.width = 320;
  spec.height = 240;
  const std::string input = make_clip(folder_, "long.mp4", spec);
  int exitCode = -1;
  const std::string out =
      run_and_capture(OSUtil::pathJoin(OSUtil::getAppDir(), "jobs_exit_helper"),
                      input + "\n" + folder_ + "/exit_output.mp4", false, 60000, &exitCode);
  EXPECT_EQ(exitCode, 0) << out;
  const size_t at = out.find("encoder pid:");
  ASSERT_NE(at, std::string::npos) << out;
  const int64_t pid = std::stoll(out.substr(at + 12));
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(wait_until([pid] { return process_gone(pid); }, 5000));
}

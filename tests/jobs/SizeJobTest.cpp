// Jobs that fit their output into a size: a real clip made into a size it must hit,
// a size it cannot be made in, and job files without a size.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#include "environment/AppConstants.h"
#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "planning/SizePlan.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "text/SimpleJson.h"
#include "text/TxtUtil.h"

namespace {


// The analysis logs a job left in the temporary folder.
QStringList pass_log_folders(const std::string& jobID) {
  return QDir(QDir::tempPath())
      .entryList({"kovadle-" + QString::fromStdString(jobID) + "-*"}, QDir::Dirs | QDir::Hidden);
}

}  // namespace

TEST(SizeJob, ARealClipIsMadeIntoTheSizeAndNeverOverIt) {
  clear_job_folder();
  const std::string media = make_temp_folder("size-media"), out = make_temp_folder("size-out");
  // MKV with AAC: the video starts a moment after the audio, as in most such files.
  const std::string clip = make_clip(media, "clip.mkv", clip_of(854, 480, 6));
  ASSERT_GT(QString::fromStdString(probe_entry(clip, "v:0", "start_time")).toDouble(), 0.0);
  const PreparedInput input = JobEngine::Prepare(clip);
  ASSERT_TRUE(input.Accepted()) << input.refusal;
  JobManager manager;
  JobEngine engine(manager);
  JobPlan plan;
  plan.outputFormat = ".mp4";
  plan.outputFolder = out;

  // Too small a size makes no job and leaves nothing, and says what is the least.
  plan.targetBytes = 20000;
  const JobEngine::Added refused = engine.Add(input, plan);
  EXPECT_EQ(refused.problem, JobEngine::Added::Problem::Size);
  const int64_t smallest = refused.smallestBytes;
  EXPECT_GT(smallest, plan.targetBytes);
  EXPECT_TRUE(JobFile::ListJobFiles().empty());
  EXPECT_TRUE(
      QDir(QString::fromStdString(out)).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

  // Half way to where it fits at 99 %: a row below the top, the rate the size leaves.
  const int64_t fits = SizePlan::For(input.info, int64_t{1} << 40, ".mp4").expectedBytes;
  plan.targetBytes = (smallest + fits) / 2;
  const SizePlan expected = SizePlan::For(input.info, plan.targetBytes, ".mp4");
  ASSERT_EQ(expected.verdict, SizePlan::Verdict::Planned);
  std::vector<JobFinished> ended;
  QObject::connect(&engine, &JobEngine::jobFinished,
                   [&ended](const JobFinished& job) { ended.push_back(job); });
  engine.StartPublishing();
  const JobEngine::Added added = engine.Add(input, plan);
  ASSERT_TRUE(added.Ok()) << added.reason;
  EXPECT_EQ(added.job.targetBytes, plan.targetBytes);
  // Programs that know no size run the job at the row it bought.
  EXPECT_EQ(added.job.quality, expected.quality);
  ASSERT_TRUE(wait_with_events([&] { return !ended.empty(); }, 180000));
  ASSERT_EQ(ended.front().outcome, JobState::Completed) << ended.front().reason;
  const JobView done = *engine.View(added.job.jobID);
  EXPECT_LE(done.OutputSize(), plan.targetBytes);
  EXPECT_GE(done.OutputSize(), plan.targetBytes * 0.93);
  EXPECT_EQ(done.oversizedBytes, -1);
  EXPECT_EQ(probe_entry(done.outputFile, "v:0", "width"), std::to_string(expected.params.width));
  const std::string stored = TxtUtil::read_text_file(done.jobFilePath);
  EXPECT_NE(stored.find("\"TargetSize\": \"" + std::to_string(plan.targetBytes) + "\""), std::string::npos);
  EXPECT_EQ(stored.find("OversizedOutput"), std::string::npos);
  EXPECT_TRUE(pass_log_folders(added.job.jobID).isEmpty());
  engine.StopPublishing();
}

// A job file written before sizes existed, and one whose size does not read.
TEST(SizeJob, AJobFileWithoutASizeLoadsAndRunsAtItsQuality) {
  clear_job_folder();
  const std::string folder = make_temp_folder("size-old");
  const std::string clip = make_clip(folder, "old.mp4", clip_of(854, 480, 2));
  const std::string jobID = "0b5c4a52-1111-4d6e-9a7f-2c3d4e5f6a7b";
  const std::string path = get_appjobfile_dir() + "/" + jobID + ".jobfile";
  ASSERT_TRUE(TxtUtil::write_text_file(
      path,
      "{\"JobID\": \"" + jobID + "\", \"GeneratedTime\": \"20240102_030405\", \"InputFile\": \"" + clip +
          "\", \"OutputFile\": \"" + folder +
          "/old_output.mp4\", \"Quality\": \"90\", \"OutputCodec\": \"h264\", \"OutputFormat\": \".mp4\", "
          "\"IsCompleted\": \"false\", \"IsDeleted\": \"false\", \"IsStopped\": \"true\"}"));
  JobManager manager;
  const std::vector<JobV3*> loaded = manager.LoadStoredJobs();
  ASSERT_EQ(loaded.size(), 1u);
  JobV3* job = loaded.front();
  EXPECT_EQ(job->GetJobFile()->GetTargetBytes(), 0);
  const EncoderRuns runs = job->MakeEncoderRuns();
  EXPECT_FALSE(runs.TwoPass());
  EXPECT_FALSE(runs.HasSize());
  ASSERT_TRUE(manager.RunJob(jobID));
  ASSERT_TRUE(wait_until([&] { return !JobStateRules::IsActive(job->GetState()); }, 120000));
  EXPECT_EQ(job->GetState(), JobState::Completed) << job->GetFailureReason();
  // Saved again, it still holds no size: older programs read it as they wrote it.
  EXPECT_EQ(TxtUtil::read_text_file(path).find("TargetSize"), std::string::npos);

  // A size that is no number leaves the job at its quality.
  SimpleJson json;
  json.load_file(path);
  json.set("TargetSize", "25MB");
  ASSERT_TRUE(json.save_file(path));
  EXPECT_EQ(reload(job)->GetTargetBytes(), 0);
  json.set("TargetSize", "25000000");
  json.set("OversizedOutput", "25600000");
  ASSERT_TRUE(json.save_file(path));
  EXPECT_EQ(reload(job)->GetTargetBytes(), 25000000);
  EXPECT_EQ(reload(job)->GetOversizedBytes(), 25600000);
}

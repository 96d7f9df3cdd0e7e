// Runs that go wrong while the encoder may still say all went well: an input cut
// short under it, its output folder removed, a full disk, a data folder that takes
// no write. Each ends failed with the reason; no broken file keeps the output's name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "environment/AppConstants.h"
#include "jobs/JobCreation.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"
#include "support/ScopedTmpfs.h"
#include "support/TestEnvironment.h"

namespace {

// An encode paced at the input's own speed, so the test can act while it runs.
JobV3* paced_job(JobManager& manager, const std::string& input, const std::string& output,
                 std::initializer_list<const char*> more = {}) {
  JobV3* job = manager.AddJob(new_record(input, output));
  job->SetFFmpegCmd(CommandLine(tool_path("encoder"))
                        .Add({"-nostdin", "-y", "-re", "-i"})
                        .AddPath(input)
                        .Add({"-c:v", "libx264", "-preset", "ultrafast"})
                        .Add(more)
                        .AddPath(output));
  manager.RunJob(id_of(job));
  return job;
}

bool ended(JobV3* job) {
  return wait_until([job] { return JobStateRules::IsFinal(job->GetState()); }, 120000);
}

// code: our reason's code (or its "-because" form), stored beside the line, which
// it says in English.
void expect_failed_with(JobV3* job, const std::string& words, const std::string& code = "") {
  const std::string output = job->GetJobFile()->GetOutputFile();
  EXPECT_TRUE(job->IsFailed()) << JobStateRules::Name(job->GetState());
  EXPECT_NE(job->GetFailureReason().find(words), std::string::npos) << job->GetFailureReason();
  EXPECT_EQ(reload(job)->GetFailureReason(), job->GetFailureReason());
  if (!code.empty()) {
    EXPECT_EQ(reload(job)->GetReason().code.rfind(code, 0), 0u) << reload(job)->GetReason().code;
    EXPECT_EQ(reload(job)->GetReason().English(), job->GetFailureReason());
  }
  EXPECT_FALSE(OSUtil::isPathTaken(output) || OSUtil::isPathTaken(JobOutput::PartialPath(output, id_of(job))))
      << output;
}

}  // namespace

TEST(JobOutcome, ACutInputOrAVanishedOutputFolderFailsAndSaysWhy) {
  clear_job_folder();
  const std::string folder = make_temp_folder("cut");
  JobManager manager;
  const std::string input = make_clip(folder, "in.mp4", clip_of(640, 360, 10));
  JobV3* cut = paced_job(manager, input, folder + "/cut_output.mp4");
  ASSERT_TRUE(wait_until([cut] { return cut->GetProgress() > 0.15; }, 60000));
  ASSERT_EQ(::truncate(input.c_str(), QFile(QString::fromStdString(input)).size() * 3 / 10), 0);
  ASSERT_TRUE(ended(cut));
  expect_failed_with(cut, "The output is shorter than the input", JobReason::kTooShort);

  const std::string gone = folder + "/vanishing";
  QDir().mkpath(QString::fromStdString(gone));
  // Moving the index to the front, as the program does for MP4, writes after the end.
  JobV3* orphan = paced_job(manager, make_clip(folder, "whole.mp4", clip_of(640, 360, 6)), gone + "/out.mp4",
                            {"-movflags", "+faststart"});
  ASSERT_TRUE(wait_until([orphan] { return orphan->GetProgress() > 0.15; }, 60000));
  ASSERT_TRUE(QDir(QString::fromStdString(gone)).removeRecursively());
  ASSERT_TRUE(ended(orphan));
  // Whatever the encoder said, the file it wrote is gone; named as the user knows it.
  expect_failed_with(orphan,
                     "The output was removed or replaced while it was written: ", JobReason::kOutputReplaced);
  EXPECT_NE(orphan->GetFailureReason().find(gone + "/out.mp4"), std::string::npos);
}

TEST(JobOutcome, AFullDiskOrAReadOnlyDataFolderFailsWithTheReasonAndLosesNoJob) {
  clear_job_folder();
  const std::string folder = make_temp_folder("full");
  const std::string full = folder + "/disk";
  QDir().mkpath(QString::fromStdString(full));
  ScopedTmpfs disk(full, "1m");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here";
  JobManager manager;
  JobV3* job = paced_job(manager, make_clip(folder, "in.mp4", clip_of(1280, 720, 4)), full + "/out.mp4",
                         {"-b:v", "20M"});
  ASSERT_TRUE(ended(job));
  expect_failed_with(job, "No space left on device");

  // The job-file folder takes no write: an add is refused naming the folder and
  // why; a change is kept, told once, and written once the folder takes it again.
  const std::string jobs = get_appjobfile_dir();
  ScopedTmpfs data(jobs, "1m");
  ASSERT_TRUE(data.mounted());
  JobV3* kept = manager.AddAndRunJob(
      JobCreation::Create(folder + "/in.mp4", folder + "/kept_output.mp4", "95", "h264", ".mp4").record);
  ASSERT_TRUE(ended(kept));
  ASSERT_TRUE(data.setReadOnly(true));
  const JobCreation::Result refused =
      JobCreation::Create(folder + "/in.mp4", folder + "/refused_output.mp4", "95", "h264", ".mp4");
  EXPECT_EQ(refused.record, nullptr);
  // The system's reason, in the user's language.
  EXPECT_TRUE(refused.path == jobs && !refused.reason.empty()) << refused.path << ": " << refused.reason;
  EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/refused_output.mp4")));
  EXPECT_TRUE(manager.MoveToRecycleBin(id_of(kept)));
  std::string told;
  EXPECT_TRUE(manager.TakeSaveFailure(&told));
  EXPECT_EQ(told.rfind(jobs + ": ", 0), 0u) << told;
  EXPECT_FALSE(manager.TakeSaveFailure(&told)) << "told twice";
  ASSERT_TRUE(data.setReadOnly(false));
  EXPECT_EQ(manager.RetryUnsavedJobs(), 0);
  EXPECT_TRUE(reload(kept)->GetIsDeleted() && reload(kept)->GetIsCompleted());
}

// A paused job on Windows: its encoder.exe is suspended as a whole process, so no
// progress comes while it is held; resumed it finishes whole, stopped it ends at once.
#include <gtest/gtest.h>

#include <QFile>
#include <QThread>

#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "support/ProcessState.h"
#include "support/TestEnvironment.h"

namespace {

// A real encode that takes `seconds` of wall time; its output is judged against the
// input's length.
JobV3* paced_job(JobManager& manager, const std::string& input, const std::string& output, int seconds) {
  JobV3* job = manager.AddJob(new_record(input, output));
  job->SetFFmpegCmd(paced_encode(seconds, output));
  return job;
}

// The progress the job has read stays where it is for a while.
bool progress_stands(JobV3* job) {
  // Lines the encoder wrote just before it was held may still be on their way.
  QThread::msleep(500);
  const double before = job->GetTimeDone();
  QThread::msleep(1500);
  return job->GetTimeDone() == before;
}

}  // namespace

TEST(JobPauseWindows, AHeldEncoderMakesNoProgressFinishesWholeOnceResumedAndStopsWhileHeld) {
  clear_job_folder();
  const std::string folder = make_temp_folder("pause-win");
  JobManager manager;
  JobEngine engine(manager);

  const std::string input = make_clip(folder, "in.mp4", clip_of(320, 240, 6));
  JobV3* job = paced_job(manager, input, folder + "/resumed.mp4", 6);
  const std::string id = id_of(job);
  ASSERT_EQ(engine.Start(id), JobEngine::Result::Done);
  ASSERT_TRUE(wait_until([&] { return job->GetTimeDone() > 1; }, 60000));
  ASSERT_EQ(engine.Pause(id), JobEngine::Result::Done);
  EXPECT_EQ(engine.View(id)->state, JobState::Paused);
  EXPECT_TRUE(progress_stands(job)) << "it encoded while paused";
  ASSERT_EQ(engine.Resume(id), JobEngine::Result::Done);
  ASSERT_TRUE(wait_until([&] { return JobStateRules::IsFinal(job->GetState()); }, 120000));
  EXPECT_TRUE(job->IsCompleted()) << job->GetFailureReason();
  EXPECT_NEAR(std::stod("0" + probe_entry(job->GetJobFile()->GetOutputFile(), "format", "duration")), 6.0,
              0.2);

  // Stopped while held: the suspended encoder is ended all the same, and its part goes.
  JobV3* held = paced_job(manager, input, folder + "/stopped.mp4", 30);
  const std::string heldID = id_of(held);
  ASSERT_EQ(engine.Start(heldID), JobEngine::Result::Done);
  ASSERT_TRUE(wait_until([&] { return held->GetTimeDone() > 0.5; }, 60000));
  const int64_t pid = held->GetPid();
  ASSERT_GT(pid, 0);
  ASSERT_EQ(engine.Pause(heldID), JobEngine::Result::Done);
  EXPECT_TRUE(progress_stands(held)) << "it encoded while paused";
  const std::string partial = JobOutput::PartialPath(held->GetJobFile()->GetOutputFile(), heldID);
  ASSERT_EQ(engine.Stop(heldID), JobEngine::Result::Done);
  EXPECT_TRUE(wait_until([&] { return held->IsStopped(); }, 10000)) << JobStateRules::Name(held->GetState());
  EXPECT_TRUE(wait_until([&] { return process_ended(pid); }, 10000));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(partial)));
}

// Paused jobs with real encoders: held while paused, whole once resumed, stopped as
// running ones are, and a queue that waits for them in every Kovadle process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "jobs/JobCreation.h"
#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
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

JobV3* add_video(JobManager& manager, const std::string& input, const std::string& output) {
  const JobCreation::Result created = JobCreation::Create(input, output, "95", "h264", ".mp4");
  EXPECT_NE(created.record, nullptr) << created.reason;
  return manager.AddAndRunJob(created.record);
}

// The state another Kovadle process reads off the job's lock file.
JobState seen_elsewhere(JobV3* job) {
  JobFile seen;
  seen.Load(job->GetJobFile()->GetPath());
  return seen.ElsewhereState();
}

}  // namespace

TEST(JobPause, APausedEncoderIsStoppedUntilResumedAndItsOutputIsWhole) {
  clear_job_folder();
  const std::string folder = make_temp_folder("pause");
  JobManager manager;
  JobEngine engine(manager);
  JobV3* job = paced_job(manager, make_clip(folder, "in.mp4", clip_of(640, 480, 6)), folder + "/out.mp4", 6);
  const std::string id = id_of(job);
  ASSERT_EQ(engine.Start(id), JobEngine::Result::Done);
  ASSERT_TRUE(wait_until([&] { return job->GetTimeDone() > 1; }, 60000));
  const int64_t pid = job->GetPid();
  ASSERT_GT(pid, 0);

  ASSERT_EQ(engine.Pause(id), JobEngine::Result::Done);
  EXPECT_EQ(engine.View(id)->state, JobState::Paused);
  EXPECT_EQ(engine.PausedJobCount(), 1);
  EXPECT_EQ(engine.PausableJobCount(), 0);
  EXPECT_TRUE(wait_until([&] { return process_stopped(pid); }, 5000)) << "the encoder still runs";
  const double done = job->GetTimeDone();
  QThread::msleep(1500);
  EXPECT_EQ(job->GetTimeDone(), done) << "it encoded while paused";
  EXPECT_EQ(seen_elsewhere(job), JobState::Paused);
  // Nothing but a stop or a resume for a paused job, as for a running one.
  EXPECT_EQ(engine.Delete(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Start(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Pause(id), JobEngine::Result::NotAllowed);

  ASSERT_EQ(engine.ResumeAll(), JobEngine::Result::Done);
  EXPECT_TRUE(wait_until([&] { return !process_stopped(pid); }, 5000));
  EXPECT_EQ(seen_elsewhere(job), JobState::Encoding);
  ASSERT_TRUE(wait_until([&] { return JobStateRules::IsFinal(job->GetState()); }, 120000));
  EXPECT_TRUE(job->IsCompleted()) << job->GetFailureReason();
  EXPECT_NEAR(std::stod(probe_entry(job->GetJobFile()->GetOutputFile(), "format", "duration")), 6.0, 0.2);
  EXPECT_EQ(engine.ResumeAll(), JobEngine::Result::NotAllowed);
}

// A pause that comes while a run is being set up holds the encoder from its start
// (none runs meanwhile); a paused job stops at once, and its encoder goes with it.
TEST(JobPause, AJobPausedBeforeItsEncoderRunsStartsHeldAndStopsAtOnce) {
  clear_job_folder();
  const std::string folder = make_temp_folder("pause-early");
  JobManager manager;

  // Paused while its start is prepared: its encoder waits for the resume.
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobV3* early = manager.AddJob(new_record(input, folder + "/early_output.mp4"));
  const CommandLine standIn = stand_in_encoder(folder, 3, "0.1", folder + "/early_output.mp4");
  early->SetFFmpegCmd(standIn);
  ASSERT_TRUE(early->MoveTo(JobState::Starting));
  EXPECT_TRUE(early->Pause());
  EXPECT_EQ(early->GetState(), JobState::Starting);
  early->Run();
  EXPECT_TRUE(early->IsPaused());
  QThread::msleep(1000);
  EXPECT_FALSE(child_with_argument(standIn.Program())) << "an encoder started while paused";
  ASSERT_TRUE(early->Resume());
  EXPECT_TRUE(wait_until([&] { return JobStateRules::IsFinal(early->GetState()); }, 60000));
  EXPECT_TRUE(early->IsCompleted()) << early->GetFailureReason();

  // Paused the moment its encoder starts, before its number is known: held at once.
  JobEngine engine(manager);
  JobV3* held = paced_job(manager, input, folder + "/held_output.mp4", 30);
  JobV3::SetEncoderStartedHook([held] { EXPECT_TRUE(held->Pause()); });
  ASSERT_EQ(engine.Start(id_of(held)), JobEngine::Result::Done);
  ASSERT_TRUE(wait_until([&] { return held->GetPid() > 0; }, 60000));
  JobV3::SetEncoderStartedHook(nullptr);
  const int64_t pid = held->GetPid();
  EXPECT_TRUE(wait_until([&] { return process_stopped(pid); }, 5000));
  QThread::msleep(500);
  EXPECT_LE(held->GetTimeDone(), 0.5);

  const std::string partial = JobOutput::PartialPath(held->GetJobFile()->GetOutputFile(), id_of(held));
  ASSERT_EQ(engine.Stop(id_of(held)), JobEngine::Result::Done);
  EXPECT_TRUE(wait_until([&] { return held->IsStopped(); }, 10000)) << JobStateRules::Name(held->GetState());
  EXPECT_TRUE(wait_until([&] { return process_ended(pid); }, 10000));
  EXPECT_TRUE(reload(held)->GetIsStopped());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(partial)));
}

// Pausing gives the processor back: while any Kovadle job is paused, here or in
// another process, no waiting job starts (nor a new one), whatever the load; the
// machine may sleep meanwhile. Resumed, the queue moves on.
TEST(JobPause, WhileAJobIsPausedNoWaitingJobStartsInAnyKovadle) {
  clear_job_folder();
  const std::string folder = make_temp_folder("pause-queue");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager window, cli;  // two owners of one data folder, as two processes are
  JobEngine windowEngine(window);
  UpdateGUIThread::setLoadSampler([](int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
    return 0;
  });
  UpdateGUIThread::setCycleMs(200);
  UpdateGUIThread publisher(window);
  publisher.start();

  JobV3* theirs = paced_job(cli, input, folder + "/theirs_output.mp4", 30);
  ASSERT_TRUE(cli.RunJob(id_of(theirs)));
  ASSERT_TRUE(wait_until([&] { return theirs->GetPid() > 0; }, 60000));
  ASSERT_TRUE(cli.PauseJob(id_of(theirs)));
  JobV3* waiting = add_video(window, input, folder + "/window_output.mp4");
  EXPECT_TRUE(waiting->IsQueueing()) << "a new job started beside a paused one";
  QThread::msleep(1500);
  EXPECT_TRUE(waiting->IsQueueing()) << "a waiting job started while another Kovadle's is paused";
  EXPECT_EQ(window.GetJobsElsewhere().paused, 1);
  EXPECT_TRUE(windowEngine.QueueHeld());
  EXPECT_EQ(windowEngine.BusyJobCount(), 0) << "held jobs kept the machine awake";
  EXPECT_EQ(windowEngine.ActiveJobsElsewhere(), 1) << "the shutdown waits for a paused job";

  ASSERT_TRUE(cli.ResumeJob(id_of(theirs)));
  EXPECT_TRUE(wait_until([&] { return waiting->IsCompleted(); }, 60000))
      << JobStateRules::Name(waiting->GetState());

  // The same for a job of its own, paused with every running one.
  JobV3* ours = paced_job(window, input, folder + "/ours_output.mp4", 30);
  ASSERT_TRUE(window.RunJob(id_of(ours)));
  ASSERT_TRUE(wait_until([&] { return ours->GetPid() > 0; }, 60000));
  ASSERT_EQ(cli.PauseAllJobs(), 1);
  ASSERT_EQ(windowEngine.PauseAll(), JobEngine::Result::Done);
  JobV3* next = add_video(window, input, folder + "/next_output.mp4");
  QThread::msleep(1500);
  EXPECT_TRUE(next->IsQueueing());
  EXPECT_EQ(windowEngine.ResumeAll(), JobEngine::Result::Done);
  QThread::msleep(1000);
  EXPECT_TRUE(next->IsQueueing()) << "started while the other process's job is still paused";
  EXPECT_EQ(cli.ResumeAllJobs(), 1);
  EXPECT_TRUE(wait_until([&] { return next->IsCompleted(); }, 60000))
      << JobStateRules::Name(next->GetState());

  publisher.Stop();
  UpdateGUIThread::setLoadSampler(nullptr);
  UpdateGUIThread::setCycleMs(0);
  // Leaving stops a paused job too, recorded as stopped for the next start.
  EXPECT_TRUE(cli.StopAllJobs(20000));
  EXPECT_TRUE(window.StopAllJobs(20000));
  EXPECT_TRUE(theirs->IsStopped() && reload(theirs)->GetIsStopped());
  EXPECT_TRUE(ours->IsStopped() && reload(ours)->GetIsStopped());
}

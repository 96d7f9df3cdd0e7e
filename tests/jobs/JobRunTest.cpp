#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <atomic>

#include "jobs/EncoderErrorLines.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "text/TxtUtil.h"

namespace {
// A 20-second clip encoded in real time: certainly still going when stopped.
const std::string& slow_clip() {
  static const std::string clip = [] {
    ClipSpec spec;
    spec.seconds = 20;
    return make_clip(make_temp_folder("slow"), "long.mp4", spec);
  }();
  return clip;
}

JobV3* add_slow_job(JobManager& manager, const std::string& output) {
  JobV3* job = manager.AddJob(new_record(slow_clip(), output));
  const std::string encoder = OSUtil::pathJoin(OSUtil::getAppDir(), "bin/encoder");
  job->SetFFmpegCmd(CommandLine(encoder)
                        .Add({"-y", "-re", "-i"})
                        .AddPath(slow_clip())
                        .Add({"-c:v", "libx264", "-preset", "ultrafast"})
                        .AddPath(output));
  return job;
}
}  // namespace

bool gone(const std::string& path) { return !OSUtil::isPathTaken(path); }

// Neither the final name nor the partial file the encoder wrote to is left behind.
void expect_no_output_left(JobV3* job) {
  const std::string output = job->GetJobFile()->GetOutputFile();
  EXPECT_TRUE(gone(output) && gone(JobOutput::PartialPath(output, id_of(job)))) << output;
}

TEST(JobRun, StopReturnsAtOnceEndsTheEncoderAndLeavesNoFileUnderTheOutputsName) {
  clear_job_folder();
  const std::string folder = make_temp_folder("stop");
  JobManager manager;
  QElapsedTimer timer;
  timer.start();
  std::vector<JobV3*> early;
  for (int attempt = 0; attempt < 5; ++attempt) {
    JobV3* job = add_slow_job(manager, folder + "/early" + std::to_string(attempt) + ".mp4");
    manager.RunJob(id_of(job));
    QThread::msleep(static_cast<unsigned long>(attempt * 15));  // around the encoder's start
    EXPECT_TRUE(manager.StopJob(id_of(job)));
    EXPECT_TRUE(job->IsStopping() || job->IsStopped());
    early.push_back(job);
  }
  EXPECT_LT(timer.elapsed(), 5000) << "a stop waited for its encoder";
  for (JobV3* job : early) {
    EXPECT_TRUE(wait_until([job] { return job->IsStopped(); }, 30000));
    expect_no_output_left(job);
  }

  JobV3* job = add_slow_job(manager, folder + "/live.mp4");
  manager.RunJob(id_of(job));
  ASSERT_TRUE(wait_until([job] { return job->GetProgress() > 0; }, 30000)) << "no live progress";
  EXPECT_NEAR(job->GetDuration(), 20.0, 0.1);
  const int64_t pid = job->GetPid();
  ASSERT_GT(pid, 0);
  EXPECT_FALSE(manager.RunJob(id_of(job)));  // already encoding: no second encoder
  EXPECT_EQ(job->GetPid(), pid);
  manager.StopJob(id_of(job));
  EXPECT_TRUE(wait_until([job] { return job->IsStopped(); }, 30000));
  EXPECT_TRUE(process_gone(pid));
  EXPECT_TRUE(job->GetPid() == -1 && job->GetTimeDone() == 0 && job->GetDuration() == -1) << "figures kept";
  EXPECT_TRUE(reload(job)->GetIsStopped() && reload(job)->GetOutcome() == "stopped");
  // How far it came stays with the job (a restart shows it), until it runs again.
  const double reached = reload(job)->GetProgressReached();
  EXPECT_TRUE(reached > 0 && reached < 1) << reached;
  manager.RunJob(id_of(job));
  EXPECT_EQ(reload(job)->GetProgressReached(), -1);
  manager.StopJob(id_of(job));
  EXPECT_TRUE(wait_until([job] { return job->IsStopped(); }, 30000));
  expect_no_output_left(job);
  EXPECT_EQ(manager.GetRunningJobCount(), 0);

  // A stop that comes after the encoder started but before its pid is known: the
  // encoder thread ends it as soon as the pid is there.
  std::atomic<bool> started{false}, release{false};
  JobV3::SetEncoderStartedHook([&] {
    started = true;
    while (!release) QThread::msleep(5);
  });
  job = add_slow_job(manager, folder + "/late pid.mp4");
  manager.RunJob(id_of(job));
  ASSERT_TRUE(wait_until([&] { return started.load(); }, 30000));
  EXPECT_TRUE(job->GetState() == JobState::Encoding && job->GetPid() == -1);
  manager.StopJob(id_of(job));
  release = true;
  EXPECT_TRUE(wait_until([job] { return job->IsStopped(); }, 10000)) << "the encoder ran on";
  JobV3::SetEncoderStartedHook(nullptr);
  expect_no_output_left(job);
}

TEST(JobRun, FailedEncodesAreStoppedNotCompletedAndReportedOnce) {
  clear_job_folder();
  const std::string folder = make_temp_folder("fail");
  const std::string notVideo = folder + "/notes.txt";
  TxtUtil::write_text_file(notVideo, "this is not a video\n");
  JobManager manager;
  JobV3* unreadable = manager.AddAndRunJob(new_record(notVideo, folder + "/notes_output.mp4"));
  ASSERT_TRUE(wait_until([&] { return !unreadable->IsRunning(); }, 60000));
  JobV3* noEncoder = manager.AddJob(new_record(notVideo, folder + "/other_output.mp4"));
  noEncoder->SetFFmpegCmd(CommandLine(folder + "/missing/encoder").Add({"-y", "-i", "in.mp4", "out.mp4"}));
  manager.RunJob(id_of(noEncoder));
  ASSERT_TRUE(wait_until([&] { return !noEncoder->IsRunning(); }, 60000));

  auto first = JobManager::ParseJobsProgress(manager.GetJobsProgress());
  for (JobV3* job : {unreadable, noEncoder}) {
    EXPECT_TRUE(job->IsFailed() && !job->IsCompleted());
    EXPECT_TRUE(reload(job)->GetIsStopped() && !reload(job)->GetIsCompleted() &&
                !job->GetFailureReason().empty());
    EXPECT_EQ(first[id_of(job)].first + "|" + first[id_of(job)].second, "Failed|Failed");
    expect_no_output_left(job);
  }
  // The reason is the encoder's own first error line (its words differ between builds;
  // never the closing "Conversion failed!"), or ours when it could not run.
  const std::vector<std::string> lines = reload(unreadable)->GetErrorLines();
  EXPECT_TRUE(!lines.empty() && lines.front() != "Conversion failed!" &&
              EncoderErrorLines::LooksLikeError(lines.front()))
      << unreadable->GetFailureReason();
  EXPECT_EQ(noEncoder->GetFailureReason(), "The encoder could not be started");
  // Ours as a code, so each front end says it in its own language; the encoder's own
  // line needs none.
  EXPECT_EQ(reload(noEncoder)->GetReason().code, JobReason::kNotStarted);
  EXPECT_TRUE(reload(unreadable)->GetReason().Empty());
  EXPECT_EQ(manager.GetJobsProgress(), "{}");
}

// "quit" ends the helper as a closed window does.
TEST(JobRun, LeavingTheProgramStopsEveryJobAndItsEncoder) {
  for (const char* mode : {"quit", "term"}) {
    const QString dataHome = QString::fromStdString(make_temp_folder("exit-data"));
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dataHome);
    helper.setProcessEnvironment(env);
    helper.start(
        QString::fromStdString(OSUtil::pathJoin(OSUtil::getAppDir(), "jobs_exit_helper")),
        {mode, QString::fromStdString(slow_clip()), QString::fromStdString(make_temp_folder("exit"))});
    QString out;
    while (!out.contains("ready") && helper.waitForReadyRead(60000)) out += helper.readAllStandardOutput();
    ASSERT_TRUE(out.contains("ready") && out.contains("queued:1")) << out.toStdString();
    if (std::string(mode) == "term") helper.terminate();
    EXPECT_TRUE(helper.waitForFinished(60000));
    out += helper.readAllStandardOutput();
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit) << mode;
    EXPECT_EQ(helper.exitCode(), 0) << mode << out.toStdString();

    const QRegularExpressionMatch encoder = QRegularExpression("encoder pid:(\\d+)").match(out);
    ASSERT_TRUE(encoder.hasMatch()) << out.toStdString();
    const int64_t pid = encoder.captured(1).toLongLong();
    EXPECT_TRUE(pid > 0 && wait_until([pid] { return process_gone(pid); }, 5000)) << mode;
    // Other threads print too, so a marker may share its line with their text.
    int jobFiles = 0;
    for (auto match = QRegularExpression("job file:\\s*(\\S+\\.jobfile)").globalMatch(out);
         match.hasNext();) {
      const QString path = match.next().captured(1);
      JobFile stored;
      stored.Load(path.toStdString());
      EXPECT_TRUE(stored.GetIsStopped() && !stored.GetIsCompleted()) << mode << path.toStdString();
      ++jobFiles;
    }
    EXPECT_EQ(jobFiles, 2) << out.toStdString();
    EXPECT_FALSE(QFile::exists(dataHome + "/jobs_exit_helper/applogs/dump.log")) << mode;
  }
}

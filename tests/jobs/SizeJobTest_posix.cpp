// A size job's runs with a shell script standing in for the encoder: it runs the
// real encoder, but at the rates a test hands it (an encoder that overshoots), or
// holds one of the runs so the test can stop the job in it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <fstream>

#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {

// The stand-in: the n-th run that writes an output takes the n-th line of "rates"
// as its video rate (its peaks' bounds with it); an empty or missing line keeps the
// rate the job asked for. With "hold" naming a run ("analysis" or "output") it
// prints one progress line in that run and then waits a minute instead; with "pace"
// naming one, that run reads its input at its own speed (about the clip's length).
std::string write_stand_in(const std::string& folder) {
  const std::string path = folder + "/encoder.sh";
  std::ofstream script(path);
  script << "#!/bin/sh\n"
            "dir='"
         << folder
         << "'\n"
            "run=output; prev=\n"
            "for a do [ \"$prev\" = -pass ] && [ \"$a\" = 1 ] && run=analysis; prev=$a; done\n"
            "if [ -f \"$dir/hold\" ] && [ \"$(cat \"$dir/hold\")\" = $run ]; then\n"
            "  echo 'frame=5 fps=5 q=20.0 size=N/A time=00:00:00.20 bitrate=N/A speed=0.5x'\n"
            "  exec sleep 60\n"
            "fi\n"
            "[ -f \"$dir/pace\" ] && [ \"$(cat \"$dir/pace\")\" = $run ] && set -- -re \"$@\"\n"
            "rate=\n"
            "if [ $run = output ]; then\n"
            "  n=$(( $(cat \"$dir/count\" 2>/dev/null || echo 0) + 1 )); echo $n > \"$dir/count\"\n"
            "  rate=$(sed -n \"${n}p\" \"$dir/rates\" 2>/dev/null)\n"
            "fi\n"
            "prev=\n"
            "for a do\n"
            "  shift\n"
            "  if [ -n \"$rate\" ]; then\n"
            "    case \"$prev\" in -b:v) a=$rate ;; -maxrate) a=$((rate * 2)) ;; -bufsize) a=$((rate * 4)) "
            ";; esac\n"
            "  fi\n"
            "  set -- \"$@\" \"$a\"; prev=$a\n"
            "done\n"
            "exec '"
         << tool_path("encoder") << "' \"$@\"\n";
  script.close();
  QFile::setPermissions(QString::fromStdString(path),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return path;
}

CommandLine through(const std::string& program, const CommandLine& command) {
  CommandLine wrapped(program);
  for (const std::string& argument : command.Arguments()) wrapped.Add(argument);
  return wrapped;
}

struct SizeCase {
  std::string folder;
  std::string output;
  JobManager manager;
  JobV3* job = nullptr;
  EncoderRuns runs;  // as the engine plans them, before the stand-in

  // A job of a 4-second clip fitted into a size half way along what it can be made in.
  explicit SizeCase(const std::string& name)
      : folder(make_temp_folder(name)), output(folder + "/clip_output.mp4") {
    const std::string clip = make_clip(folder, "clip.mp4", clip_of(854, 480, 4));
    const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(clip);
    const int64_t smallest = SizePlan::For(info, 1, ".mp4").smallestBytes;
    const int64_t fits = SizePlan::For(info, int64_t{1} << 40, ".mp4").expectedBytes;
    auto* record = new JobFile;
    record->Init(clip, output, "95", "h264", ".mp4", false, "", (smallest + fits) / 2);
    job = manager.AddJob(record);
    runs = job->MakeEncoderRuns();
    EncoderRuns standIn = runs;
    const std::string script = write_stand_in(folder);
    standIn.analysis = through(script, runs.analysis);
    standIn.output = through(script, runs.output);
    job->SetEncoderRuns(standIn);
  }
  void rates(const std::string& lines) { std::ofstream(folder + "/rates") << lines; }
  void hold(const char* run) { std::ofstream(folder + "/hold") << run; }
  void pace(const char* run) { std::ofstream(folder + "/pace") << run; }
  std::string id() { return id_of(job); }
  int64_t target() { return job->GetJobFile()->GetTargetBytes(); }
  bool ended() {
    return wait_until([this] { return !JobStateRules::IsActive(job->GetState()); }, 180000);
  }
  // Nothing of the run under the output's name, beside it, or in the temporary folder.
  void expectNothingLeft() {
    EXPECT_FALSE(OSUtil::isPathTaken(output));
    EXPECT_FALSE(OSUtil::isPathTaken(JobOutput::PartialPath(output, id())));
    EXPECT_FALSE(JobOutput::IsReservedFor(output, id()));
    EXPECT_TRUE(passLogs().isEmpty()) << passLogs().join(' ').toStdString();
  }
  QStringList passLogs() {
    return QDir(QDir::tempPath()).entryList({"kovadle-" + QString::fromStdString(id()) + "-*"}, QDir::Dirs);
  }
};

}  // namespace

TEST(SizeJob, AnOutputOverItsSizeIsMadeOnceMoreAtALowerRateAndSaysSo) {
  clear_job_folder();
  SizeCase run("size-retry");
  // The first output comes out at 40 % more than the plan's rate; the second takes
  // the rate the job lowers it to.
  run.rates(std::to_string(run.runs.size.params.videoBitrate * 14 / 10) + "\n");
  int64_t toldOver = 0;
  ASSERT_TRUE(run.manager.RunJob(run.id()));
  // While it is made again, the publisher's snapshot carries the first output's size.
  wait_until(
      [&] {
        for (const JobStatus& status : run.manager.GetJobsStatus()) {
          if (status.jobID == run.id() && status.oversizedBytes > 0) toldOver = status.oversizedBytes;
        }
        return toldOver > 0 || !JobStateRules::IsActive(run.job->GetState());
      },
      180000);
  ASSERT_TRUE(run.ended());
  ASSERT_EQ(run.job->GetState(), JobState::Completed) << run.job->GetFailureReason();
  const int64_t made = QFileInfo(QString::fromStdString(run.job->GetJobFile()->GetOutputFile())).size();
  EXPECT_LE(made, run.target());
  const int64_t over = reload(run.job)->GetOversizedBytes();
  EXPECT_GT(over, run.target());
  EXPECT_EQ(toldOver, over);
  EXPECT_EQ(run.job->GetOversizedBytes(), 0);
  EXPECT_TRUE(run.passLogs().isEmpty());

  // Transcoded again (to the next free name, by the real encoder): a run that fits
  // at once forgets the earlier second try.
  ASSERT_TRUE(run.manager.RunJob(run.id()));
  ASSERT_TRUE(run.ended());
  EXPECT_EQ(run.job->GetState(), JobState::Completed) << run.job->GetFailureReason();
  EXPECT_EQ(reload(run.job)->GetOversizedBytes(), -1);
}

TEST(SizeJob, AnOutputStillOverItsSizeFailsWithTheReasonAndLeavesNothing) {
  clear_job_folder();
  SizeCase run("size-over");
  const std::string over = std::to_string(run.runs.size.params.videoBitrate * 14 / 10);
  run.rates(over + "\n" + over + "\n");
  ASSERT_TRUE(run.manager.RunJob(run.id()));
  ASSERT_TRUE(run.ended());
  ASSERT_EQ(run.job->GetState(), JobState::Failed);
  const JobReason why = reload(run.job)->GetReason();
  EXPECT_EQ(why.code, JobReason::kOverTarget);
  ASSERT_EQ(why.args.size(), 2u);
  EXPECT_EQ(why.args[1], SizeText::Decimal(run.target()));
  // Both output runs ran: the second was over too.
  std::ifstream count(run.folder + "/count");
  int runs = 0;
  count >> runs;
  EXPECT_EQ(runs, 2);
  run.expectNothingLeft();
}

TEST(SizeJob, AStopInEitherRunEndsItsEncoderAndLeavesNothing) {
  clear_job_folder();
  for (const char* held : {"analysis", "output"}) {
    SCOPED_TRACE(held);
    SizeCase run(std::string("size-stop-") + held);
    run.hold(held);
    ASSERT_TRUE(run.manager.RunJob(run.id()));
    // Held: the encoder of that run is the job's encoder now.
    ASSERT_TRUE(wait_until([&] { return child_with_argument("sleep") && run.job->GetPid() > 0; }, 120000));
    EXPECT_FALSE(run.passLogs().isEmpty());
    if (std::string(held) == "output") {
      EXPECT_TRUE(OSUtil::isPathTaken(JobOutput::PartialPath(run.output, run.id())));
      // The analysis counts as done.
      EXPECT_GE(run.job->GetProgress(), JobV3::kAnalysisShare - 0.001);
    }
    ASSERT_TRUE(run.manager.StopJob(run.id()));
    ASSERT_TRUE(run.ended());
    EXPECT_EQ(run.job->GetState(), JobState::Stopped);
    EXPECT_TRUE(wait_until([] { return !child_with_argument("sleep"); }, 20000));
    run.expectNothingLeft();
  }
}

// A pause in the analysis run holds that very encoder and starts no later run; once
// resumed, the job goes on through both runs into its size.
TEST(SizeJob, APauseInTheAnalysisHoldsItAndTheResumedJobEndsInItsSize) {
  clear_job_folder();
  SizeCase run("size-pause");
  run.pace("analysis");
  ASSERT_TRUE(run.manager.RunJob(run.id()));
  ASSERT_TRUE(wait_until([&] { return run.job->GetTimeDone() > 0.5 && run.job->GetPid() > 0; }, 120000));
  const int64_t pid = run.job->GetPid();
  ASSERT_TRUE(run.job->Pause());
  EXPECT_EQ(run.job->GetState(), JobState::Paused);
  EXPECT_TRUE(wait_until([&] { return process_stopped(pid); }, 5000)) << "the analysis still runs";
  const double progress = run.job->GetProgress();
  EXPECT_LT(progress, JobV3::kAnalysisShare);
  QThread::msleep(5000);  // longer than the whole analysis takes
  EXPECT_EQ(run.job->GetProgress(), progress) << "it went on while paused";
  EXPECT_EQ(run.job->GetPid(), pid);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(run.folder + "/count"))) << "the output's run started";

  ASSERT_TRUE(run.job->Resume());
  ASSERT_TRUE(run.ended());
  ASSERT_EQ(run.job->GetState(), JobState::Completed) << run.job->GetFailureReason();
  const int64_t made = QFileInfo(QString::fromStdString(run.job->GetJobFile()->GetOutputFile())).size();
  EXPECT_LE(made, run.target());
  EXPECT_GE(made, run.target() * 9 / 10);
  EXPECT_EQ(reload(run.job)->GetOversizedBytes(), -1);
  EXPECT_TRUE(run.passLogs().isEmpty());
}

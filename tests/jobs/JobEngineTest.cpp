// The engine as a front end without a window uses it: the add chain with a real
// clip, the actions by JobID, the views, the reading of stored records of every
// kind, and the way out of the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <fstream>
#include <map>

#include "environment/AppConstants.h"
#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobOwnership.h"
#include "jobs/JobTestSupport.h"
#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "support/TrackFixtures.h"
#include "text/TxtUtil.h"

namespace {

// Waits with the event loop running, so the engine's signals arrive.

bool exists(const std::string& path) { return OSUtil::isPathTaken(path); }

std::string summary(const JobView& job) {
  return JobStateRules::Name(job.state) + "/" + JobStateRules::Name(job.recorded) + "/" +
         JobStateRules::TabName(job.tab);
}

// A job file as older versions wrote it: the ten first members only.
std::string store_old_record(const std::string& jobID, bool completed, bool deleted, bool stopped) {
  const auto flag = [](bool value) { return value ? "\"true\"" : "\"false\""; };
  const std::string path = OSUtil::pathJoin(get_appjobfile_dir(), jobID + ".jobfile");
  TxtUtil::write_text_file(path, std::string("{\"JobID\": \"") + jobID +
                                     "\", \"GeneratedTime\": \"2020-01-02 03:04:05\", \"InputFile\": "
                                     "\"/in/" +
                                     jobID + ".mp4\", \"OutputFile\": \"/out/" + jobID +
                                     "_output.mp4\", \"Quality\": \"90\", \"OutputCodec\": \"h264\", "
                                     "\"OutputFormat\": \".mp4\", \"IsCompleted\": " +
                                     flag(completed) + ", \"IsDeleted\": " + flag(deleted) +
                                     ", \"IsStopped\": " + flag(stopped) + "}");
  return path;
}

}  // namespace

TEST(JobEngine, AVideoGoesThroughTheOneAddChainAndEveryActionByItsJobID) {
  clear_job_folder();
  const std::string media = make_temp_folder("engine-media"), out = make_temp_folder("engine-out");
  const std::string clip = make_clip(media, "clip one.mp4", clip_of(480, 270, 1.0));
  std::ofstream(media + "/notes.mp4") << "not a video\n";

  // The judgement: refused with the window's words, or the ladder highest first.
  const PreparedInput notes = JobEngine::Prepare(media + "/notes.mp4");
  EXPECT_EQ(notes.refusal, "Non video files are not supported");
  EXPECT_FALSE(notes.missing || notes.Accepted());
  EXPECT_TRUE(JobEngine::Prepare(media + "/gone.mp4").missing);
  const PreparedInput input = JobEngine::Prepare(clip);
  ASSERT_TRUE(input.Accepted()) << input.refusal;
  ASSERT_GE(input.qualities.size(), 2u);
  EXPECT_TRUE(std::is_sorted(input.qualities.rbegin(), input.qualities.rend()));
  EXPECT_EQ(input.resolutionClass, FFmpegCmdGenerator::GetResolutionRange(480));
  EXPECT_EQ(input.info.width.AsInt(), 480);

  JobManager manager;
  JobEngine engine(manager);
  JobPlan plan;
  plan.quality = input.qualities.front();
  plan.outputFormat = ".mkv";
  plan.outputFolder = out;
  EXPECT_EQ(JobEngine::ProposedOutput(clip, out, ".mkv"), out + "/clip one_output.mkv");

  // Nothing is made of a refused input, a quality off the ladder or an output that
  // cannot be created, and nothing is left behind.
  EXPECT_EQ(engine.Add(notes, plan).problem, JobEngine::Added::Problem::Refused);
  JobPlan offLadder = plan;
  offLadder.quality = "100";
  EXPECT_EQ(engine.Add(input, offLadder).problem, JobEngine::Added::Problem::Quality);
  JobPlan nowhere = plan;
  nowhere.outputFolder = media + "/notes.mp4";  // a file, not a folder
  const JobEngine::Added failed = engine.Add(input, nowhere);
  EXPECT_EQ(failed.problem, JobEngine::Added::Problem::Output);
  EXPECT_EQ(failed.path, media + "/notes.mp4/clip one_output.mkv");
  EXPECT_FALSE(failed.reason.empty());
  EXPECT_TRUE(JobFile::ListJobFiles().empty());
  EXPECT_TRUE(engine.Views().empty());

  // A name taken meanwhile gives the next free one.
  std::ofstream(out + "/clip one_output.mkv") << "another program's output";
  std::vector<JobFinished> ended;
  QObject::connect(&engine, &JobEngine::jobFinished,
                   [&ended](const JobFinished& job) { ended.push_back(job); });
  engine.StartPublishing();
  const JobEngine::Added added = engine.Add(input, plan);
  ASSERT_TRUE(added.Ok()) << added.path << ": " << added.reason;
  const std::string id = added.job.jobID;
  EXPECT_TRUE(JobStateRules::IsActive(added.job.state)) << summary(added.job);
  EXPECT_EQ(added.job.tab, JobTab::Transcoding);
  EXPECT_EQ(added.job.outputFile, out + "/clip one_output_2.mkv");
  EXPECT_EQ(added.job.quality + added.job.outputFormat + added.job.outputCodec, plan.quality + ".mkvh264");
  EXPECT_EQ(added.job.jobFilePath, OSUtil::pathJoin(get_appjobfile_dir(), id + ".jobfile"));
  EXPECT_TRUE(exists(added.job.jobFilePath));
  EXPECT_EQ(added.job.InputSize(), QFile(QString::fromStdString(clip)).size());

  ASSERT_TRUE(wait_with_events([&] { return !ended.empty(); }, 120000));
  EXPECT_EQ(ended.front().jobID, id);
  EXPECT_EQ(ended.front().outcome, JobState::Completed) << ended.front().reason;
  JobView done = *engine.View(id);
  EXPECT_EQ(summary(done), "completed/completed/Completed");
  EXPECT_GT(done.OutputSize(), 0);
  EXPECT_EQ(done.progress, 1.0);
  // Only a running job pauses, only a paused one resumes.
  EXPECT_EQ(engine.Pause(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Resume(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Start(id), JobEngine::Result::Done);  // transcode again
  EXPECT_EQ(engine.Delete(id), JobEngine::Result::NotAllowed);
  ASSERT_TRUE(wait_with_events([&] { return ended.size() == 2; }, 120000));
  EXPECT_EQ(ended.back().outcome, JobState::Completed) << ended.back().reason;

  // Recycle bin and back, as many times as asked, then gone for good.
  EXPECT_EQ(engine.Delete(id), JobEngine::Result::Done);
  EXPECT_EQ(summary(*engine.View(id)), "deleted/completed/RecycleBin");
  EXPECT_EQ(engine.Delete(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Stop(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Restore(id), JobEngine::Result::Done);
  EXPECT_EQ(summary(*engine.View(id)), "completed/completed/Completed");
  EXPECT_EQ(engine.Restore(id), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.DeleteCompletely(id, true), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Delete(id), JobEngine::Result::Done);
  EXPECT_EQ(engine.DeleteCompletely(id, false), JobEngine::Result::Done);
  EXPECT_FALSE(engine.View(id).has_value());
  EXPECT_FALSE(exists(done.jobFilePath));
  EXPECT_TRUE(exists(done.outputFile));  // kept: only the record was asked to go
  for (auto action : {&JobEngine::Start, &JobEngine::Stop, &JobEngine::Pause, &JobEngine::Resume,
                      &JobEngine::Delete, &JobEngine::Restore})
    EXPECT_EQ((engine.*action)(id), JobEngine::Result::NoSuchJob);
  EXPECT_EQ(engine.DeleteCompletely(id, true), JobEngine::Result::NoSuchJob);
}

TEST(JobEngine, EveryKindOfRecordReadsTheSameStateWhereverItIsRead) {
  // The one reading of the flags, first rule first.
  using S = JobState;
  EXPECT_EQ(JobStateRules::OfRecord(true, true, true, "failed"), S::Deleted);
  EXPECT_EQ(JobStateRules::OfRecord(true, false, true, "failed"), S::Completed);
  EXPECT_EQ(JobStateRules::OfRecord(false, false, true, "failed"), S::Failed);
  EXPECT_EQ(JobStateRules::OfRecord(false, false, false, "failed"), S::Failed);
  EXPECT_EQ(JobStateRules::OfRecord(false, false, true, "stopped"), S::Stopped);
  EXPECT_EQ(JobStateRules::OfRecord(false, false, true, ""), S::Stopped);
  EXPECT_EQ(JobStateRules::OfRecord(false, false, false, ""), S::Idle);
  EXPECT_EQ(JobStateRules::OfRecord(false, false, false, "completed"), S::Idle);

  clear_job_folder();
  struct Kind {
    std::string id;
    std::string read;      // state/recorded/tab where nothing holds the job
    std::string restored;  // state/recorded/tab after the recycle bin gave it back
  };
  std::vector<Kind> kinds;
  // Old files without "Outcome" and "ErrorLines" (in the order new, stopped, done, and
  // the same in the recycle bin).
  const auto old = [&kinds](const std::string& id, bool c, bool d, bool s, const std::string& read,
                            const std::string& restored = "") {
    store_old_record(id, c, d, s);
    kinds.push_back({id, read, restored});
  };
  old("00000000-0000-4000-8000-000000000001", false, false, false, "idle/idle/Transcoding");
  old("00000000-0000-4000-8000-000000000002", false, false, true, "stopped/stopped/Transcoding");
  old("00000000-0000-4000-8000-000000000003", true, false, false, "completed/completed/Completed");
  old("00000000-0000-4000-8000-000000000004", false, true, false, "deleted/idle/RecycleBin",
      "stopped/stopped/Transcoding");
  old("00000000-0000-4000-8000-000000000005", false, true, true, "deleted/stopped/RecycleBin",
      "stopped/stopped/Transcoding");
  old("00000000-0000-4000-8000-000000000006", true, true, false, "deleted/completed/RecycleBin",
      "completed/completed/Completed");
  // Files of today: a failure with its reason, in and out of the recycle bin.
  for (bool deleted : {false, true}) {
    auto* record = new_record("/in/failed.mp4", "/out/failed_output.mp4");
    record->SetOutcome("failed", {"No space left on device", "second line"});
    record->SetFlags(false, deleted, true);
    record->Save();
    kinds.push_back({record->GetJobID(), deleted ? "deleted/failed/RecycleBin" : "failed/failed/Transcoding",
                     deleted ? "failed/failed/Transcoding" : ""});
    delete record;
  }
  // One another Kovadle holds: read as such, in the table its record names.
  std::string heldID;
  {
    std::unique_ptr<JobFile> held(new_record("/in/held.mp4", "/out/held_output.mp4"));
    held->SetIsCompleted(true);
    heldID = held->GetJobID();
  }
  JobOwnership other(get_appjobfile_dir(), heldID);
  ASSERT_TRUE(other.Take());

  std::vector<std::pair<std::string, std::string>> skipped;
  const std::string broken = OSUtil::pathJoin(get_appjobfile_dir(), "broken.jobfile");
  TxtUtil::write_text_file(broken, "{\"JobID\": ");
  std::map<std::string, JobView> read;
  for (const JobView& job : JobEngine::ReadStoredJobs(&skipped)) read[job.jobID] = job;
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0].first, broken);
  ASSERT_EQ(read.size(), kinds.size() + 1);
  for (const Kind& kind : kinds) EXPECT_EQ(summary(read[kind.id]), kind.read) << kind.id;
  EXPECT_EQ(summary(read[heldID]), "elsewhere/completed/Completed");
  EXPECT_EQ(read["00000000-0000-4000-8000-000000000003"].quality +
                read["00000000-0000-4000-8000-000000000003"].generatedTime,
            "902020-01-02 03:04:05");
  EXPECT_EQ(read[kinds[6].id].reason, "No space left on device");
  EXPECT_EQ(read[kinds[6].id].errorLines.size(), 2u);
  EXPECT_TRUE(read["00000000-0000-4000-8000-000000000002"].reason.empty() &&
              read["00000000-0000-4000-8000-000000000002"].errorLines.empty());

  // Taken up by a program that starts: the same states, and what restore gives back.
  JobManager manager;
  JobEngine engine(manager);
  std::map<std::string, JobView> loaded;
  for (const JobView& job : engine.LoadStoredJobs()) loaded[job.jobID] = job;
  for (const Kind& kind : kinds) {
    EXPECT_EQ(summary(loaded[kind.id]), kind.read) << kind.id;
    if (kind.restored.empty()) continue;
    EXPECT_EQ(engine.Restore(kind.id), JobEngine::Result::Done) << kind.id;
    EXPECT_EQ(summary(*engine.View(kind.id)), kind.restored) << kind.id;
  }
  EXPECT_EQ(summary(loaded[heldID]), "elsewhere/completed/Completed");
  for (auto action : {&JobEngine::Start, &JobEngine::Delete})
    EXPECT_EQ((engine.*action)(heldID), JobEngine::Result::Elsewhere);
}

TEST(JobEngine, AStopReturnsAtOnceAndLeavingStopsEveryJobItsEncoderAndTheQueue) {
  clear_job_folder();
  ClipSpec spec = clip_of(640, 480, 20.0);
  const std::string clip = make_clip(make_temp_folder("engine-slow"), "long.mp4", spec);
  const std::string out = make_temp_folder("engine-stop");
  const PreparedInput input = JobEngine::Prepare(clip);
  ASSERT_TRUE(input.Accepted()) << input.refusal;
  JobPlan plan;
  plan.quality = input.qualities.front();
  plan.outputFolder = out;

  JobManager manager;
  JobEngine engine(manager);
  const JobView first = engine.Add(input, plan).job;
  const JobView second = engine.Add(input, plan).job;
  // Nothing publishes: the second waits and never starts.
  EXPECT_EQ(second.state, JobState::Waiting);
  EXPECT_EQ(engine.ActiveJobCount(), 2);

  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(engine.Stop(first.jobID), JobEngine::Result::Done);
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_TRUE(wait_until([&] { return engine.LiveEncoderCount() == 0; }, 30000));
  EXPECT_EQ(summary(*engine.View(first.jobID)), "stopped/stopped/Transcoding");
  EXPECT_FALSE(exists(first.outputFile) || exists(JobOutput::PartialPath(first.outputFile, first.jobID)));

  EXPECT_EQ(engine.Stop(first.jobID), JobEngine::Result::NotAllowed);
  EXPECT_EQ(engine.Stop(second.jobID), JobEngine::Result::Done);
  EXPECT_EQ(engine.Start(first.jobID), JobEngine::Result::Done);
  EXPECT_TRUE(wait_until([&] { return engine.View(first.jobID)->state == JobState::Encoding; }, 30000));
  EXPECT_EQ(engine.Start(second.jobID), JobEngine::Result::Done);
  EXPECT_EQ(engine.View(second.jobID)->state, JobState::Waiting);

  EXPECT_TRUE(engine.StopForExit());
  EXPECT_EQ(engine.LiveEncoderCount(), 0);
  EXPECT_EQ(engine.ActiveJobCount(), 0);
  for (const JobView& job : engine.Views()) {
    EXPECT_EQ(summary(job), "stopped/stopped/Transcoding") << job.jobID;
    std::unique_ptr<JobFile> stored = reload(manager.FindJob(job.jobID));
    EXPECT_TRUE(stored->GetIsStopped() && !stored->GetIsCompleted());
  }
  EXPECT_EQ(engine.Leave(5), 5);
}

// The way out when an encoder cannot end in time: the program leaves at once with
// its status and all it wrote, and every job is recorded as stopped.
TEST(JobEngine, LeavingWithAnEncoderThatDoesNotEndLeavesAtOnceAndLosesNothing) {
  const QString dataHome = QString::fromStdString(make_temp_folder("stuck-data"));
  const std::string clip = make_clip(make_temp_folder("stuck-media"), "clip.mp4", clip_of(640, 480, 10.0));
  QProcess helper;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_DATA_HOME", dataHome);
  helper.setProcessEnvironment(env);
  helper.start(QString::fromStdString(OSUtil::pathJoin(OSUtil::getAppDir(), "jobs_exit_helper")),
               {"stuck", QString::fromStdString(clip), QString::fromStdString(make_temp_folder("stuck"))});
  QElapsedTimer timer;
  timer.start();
  ASSERT_TRUE(helper.waitForFinished(60000)) << helper.errorString().toStdString();
  const QString out = helper.readAllStandardOutput();
  EXPECT_LT(timer.elapsed(), 15000) << "it waited for the held-up thread";
  EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(helper.exitCode(), 7) << out.toStdString();
  EXPECT_TRUE(out.contains("all ended:0")) << out.toStdString();
  EXPECT_FALSE(out.contains("returned from Leave")) << out.toStdString();
  int jobFiles = 0;
  for (auto match = QRegularExpression("job file:\\s*(\\S+\\.jobfile)").globalMatch(out); match.hasNext();) {
    JobFile stored;
    stored.Load(match.next().captured(1).toStdString());
    EXPECT_TRUE(stored.GetIsStopped() && !stored.GetIsCompleted()) << stored.GetPath();
    ++jobFiles;
  }
  EXPECT_EQ(jobFiles, 2) << out.toStdString();
}

// Keeping every track is part of the job: its file records it, so the run, a run
// again and a restarted program build the same command.
TEST(JobEngine, KeepingEveryTrackIsRecordedAndHoldsForEveryRun) {
  clear_job_folder();
  const std::string clip = make_multitrack_clip(make_temp_folder("engine-tracks"));
  ASSERT_FALSE(clip.empty());
  const PreparedInput input = JobEngine::Prepare(clip);
  ASSERT_TRUE(input.Accepted()) << input.refusal;
  ASSERT_EQ(input.info.TracksOf(MediaTrack::Kind::Audio).size(), 2u);
  JobManager manager;
  JobEngine engine(manager);
  JobPlan plan;
  plan.quality = "95";
  plan.outputFormat = ".mp4";
  plan.outputFolder = make_temp_folder("engine-tracks-out");
  plan.keepAllTracks = true;
  std::vector<JobFinished> ended;
  QObject::connect(&engine, &JobEngine::jobFinished,
                   [&ended](const JobFinished& job) { ended.push_back(job); });
  engine.StartPublishing();
  const JobEngine::Added added = engine.Add(input, plan);
  ASSERT_TRUE(added.Ok()) << added.reason;
  EXPECT_TRUE(added.job.keepAllTracks);
  ASSERT_TRUE(wait_with_events([&] { return !ended.empty(); }, 120000));
  EXPECT_EQ(ended.front().outcome, JobState::Completed) << ended.front().reason;
  EXPECT_EQ(
      stream_list(added.job.outputFile),
      "video/h264/und/, audio/aac/eng/, audio/aac/ger/, subtitle/mov_text/eng/, subtitle/dvd_subtitle/und/");
  EXPECT_NE(TxtUtil::read_text_file(added.job.jobFilePath).find("\"KeepAllTracks\": \"true\""),
            std::string::npos);
  engine.StopPublishing();

  JobManager restarted;
  const std::vector<JobV3*> loaded = restarted.LoadStoredJobs();
  ASSERT_EQ(loaded.size(), 1u);
  const std::vector<std::string> args = loaded[0]->MakeFFmpegCmd().Arguments();
  EXPECT_EQ(std::count(args.begin(), args.end(), "-map"), 5) << loaded[0]->MakeFFmpegCmd().ToString();
}

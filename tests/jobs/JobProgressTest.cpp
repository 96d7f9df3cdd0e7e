#include <gtest/gtest.h>

#include "jobs/EncoderProgressLine.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobOwnership.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"
#include "text/TxtUtil.h"

namespace {
const std::string kAt25 = "frame= 625 fps=250 q=28.0 time=00:00:25.00 bitrate=335.5kbits/s speed=2x\n";
}  // namespace

TEST(JobProgress, OutputLinesUpdateOnlyTheFiguresTheyCarry) {
  struct Case {
    double duration;  // the input's length from the probe
    std::vector<std::string> lines;
    std::vector<double> figures;  // seconds done, duration, progress, speed; -1 when unknown
  };
  // Clock texts, the last "time=", values kept over N/A; the length is the probe's: a
  // "Duration:" the encoder prints (an input's title can hold one) moves nothing.
  const Case cases[] = {
      {-1, {"frame=1 time=01:02:03.50 bitrate=1 speed=1x"}, {3723.5, -1, -1, 1}},
      {100, {"frame=9 time=00:00:10.00 time=00:00:20.00 speed=2x"}, {20, 100, 0.2, 2}},
      {100, {kAt25, "frame=600 time=00:00:30.00 bitrate=N/A speed=N/A"}, {30, 100, 0.3, 2}},
      {100,
       {"    title: x", "  Duration: 00:00:01.00, start: 0.000000, bitrate: 1 kb/s", kAt25},
       {25, 100, 0.25, 2}},
      {-1, {"  Duration: 00:01:40.00, start: 0.000000, bitrate: 2500 kb/s", kAt25}, {25, -1, -1, 2}},
  };
  for (const Case& c : cases) {
    Job job;
    job.SetDuration(c.duration);
    for (const std::string& line : c.lines) job.HandleOutputLine(line);
    const std::vector<double> figures = {job.GetTimeDone(), job.GetDuration(), job.GetProgress(),
                                         job.GetSpeed()};
    EXPECT_EQ(figures, c.figures) << c.lines.back();
    // A line or two tell no rate yet.
    EXPECT_EQ(job.GetEstimateLeftTime(), -1);
  }
  // Frames handed to the encoder and bytes written, for the estimate.
  EXPECT_EQ(EncoderProgressLine::ExtractFrames(kAt25), 625);
  EXPECT_EQ(EncoderProgressLine::ExtractSizeBytes("frame=  482 q=-1.0 Lsize=    7586kB time=00:00:20.01"),
            7586 * 1024);
  EXPECT_EQ(EncoderProgressLine::ExtractSizeBytes("frame=1 size=N/A time=00:00:00.00") +
                EncoderProgressLine::ExtractFrames("size=1kB time=00:00:01.00") +
                EncoderProgressLine::ExtractFrames("frame=99999999999999999999 time=00:00:01.00"),
            -3);
}

// Moves a job through the states it passes on its way to `to`.
void move_through(JobV3* job, std::initializer_list<JobState> states) {
  for (JobState state : states) ASSERT_TRUE(job->MoveTo(state)) << JobStateRules::Name(state);
}

TEST(JobProgress, SnapshotsComeFromTheTypedStatesAndReportFinishedJobsOnce) {
  clear_job_folder();
  JobManager manager;
  JobV3* encoding = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  JobV3* waiting = manager.AddJob(new_record("/in/b.mp4", "/out/b.mp4"));
  JobV3* starting = manager.AddJob(new_record("/in/c.mp4", "/out/c.mp4"));
  JobV3* done = manager.AddJob(new_record("/in/d.mp4", "/out/d.mp4"));
  JobV3* failed = manager.AddJob(new_record("/in/e.mp4", "/out/e.mp4"));
  move_through(encoding, {JobState::Starting, JobState::Encoding});
  move_through(waiting, {JobState::Waiting});
  move_through(starting, {JobState::Starting});
  move_through(done, {JobState::Starting, JobState::Encoding, JobState::Completed});
  move_through(failed, {JobState::Starting});
  ASSERT_TRUE(failed->Fail({"Error opening input files: Invalid data found when processing input"}));
  for (JobV3* job : {encoding, done}) {
    job->SetDuration(100);
    job->HandleOutputLine(kAt25);
  }
  for (JobV3* job : {encoding, waiting, starting, done, failed}) manager.OpRunningJobs("add", job);

  // Impossible moves change nothing.
  EXPECT_FALSE(waiting->MoveTo(JobState::Completed) || done->MoveTo(JobState::Stopping) ||
               encoding->MoveTo(JobState::Waiting));
  EXPECT_EQ(JobStateRules::Name(waiting->GetState()) + JobStateRules::Name(done->GetState()),
            "waitingcompleted");

  std::map<std::string, std::pair<std::string, std::string>> expected = {
      {id_of(encoding), {"-1.000000", "0.250000"}},
      {id_of(waiting), {"queueing", "queueing"}},
      {id_of(starting), {"-1.000000", "-1.000000"}},
      {id_of(done), {"0.000000", "1.000000"}},
      {id_of(failed), {"Failed", "Failed"}}};
  const JobsStatus first = manager.GetJobsStatus();
  ASSERT_EQ(first.size(), 5u);
  EXPECT_EQ(first[3].state, JobState::Completed);
  EXPECT_EQ(JobManager::ParseJobsProgress(JobManager::JobsProgressText(first)), expected);
  expected.erase(id_of(done));
  expected.erase(id_of(failed));
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress()), expected);
  // The end of each run is an event too, with the failure's reason, kept in the job file.
  const std::vector<JobFinished> ends = manager.TakeFinishedJobs();
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[1].reason, "Error opening input files: Invalid data found when processing input");
  EXPECT_EQ(reload(failed)->GetFailureReason(), ends[1].reason);

  // Transcoding a finished job again while another encodes queues it; the next
  // snapshot must not take it for finished and drop it from the queue.
  EXPECT_TRUE(manager.RunJob(id_of(done)));
  EXPECT_EQ(JobManager::ParseJobsProgress(manager.GetJobsProgress())[id_of(done)].first, "queueing");
  EXPECT_TRUE(done->IsQueueing() && !reload(done)->GetIsCompleted() && manager.GetRunningJobCount() == 4);

  // The reader skips what the writer never writes.
  EXPECT_EQ(JobManager::ParseJobsProgress(R"({"b":"1.000000|0.5","a":"nobar","c":"|","d":5})"),
            (decltype(expected){{"b", {"1.000000", "0.5"}}}));
  EXPECT_TRUE(JobManager::ParseJobsProgress("not json").empty());
  manager.StopAllJobs(0);
}

// Complete deletion removes only jobs in the recycle bin that no other process holds,
// and their output only on request.
TEST(JobManager, TotalDeleteRemovesOnlyRecycledJobs) {
  clear_job_folder();
  const std::string dir = make_temp_folder("total-delete");
  JobManager manager;
  JobV3* jobs[3];
  for (int i = 0; i < 3; ++i) {
    const std::string output = dir + "/" + std::to_string(i) + "_output.mp4";
    jobs[i] = manager.AddJob(new_record("/in/a.mp4", output));
    QFile(QString::fromStdString(output)).open(QIODevice::WriteOnly);
  }
  // Another program finished the job meanwhile: the change is made to what its file
  // says now, not to the copy read before.
  jobs[1]->GetJobFile()->ReleaseOwnership();
  {
    JobFile theirs;
    theirs.Load(jobs[1]->GetJobFile()->GetPath());
    int64_t size = 0, modified = 0;
    ASSERT_TRUE(JobOutput::IdentityOf(dir + "/1_output.mp4", &size, &modified));
    theirs.SetOutputIdentity(size, modified);
    theirs.SetIsCompleted(true);
  }
  jobs[1]->SetIsDeleted(true);
  EXPECT_TRUE(reload(jobs[1])->GetIsCompleted() && reload(jobs[1])->GetIsDeleted());
  jobs[2]->SetIsDeleted(true);
  // Another process holds the third job just now.
  jobs[2]->GetJobFile()->ReleaseOwnership();
  JobOwnership other(get_appjobfile_dir(), id_of(jobs[2]));
  ASSERT_TRUE(other.Take());
  const QString removed = QString::fromStdString(jobs[1]->GetJobFile()->GetPath());
  for (JobV3* job : jobs) manager.TotalDelete(id_of(job), true);
  EXPECT_EQ(manager.GetAllJobCount(), 2);
  EXPECT_EQ(manager.FindJob(id_of(jobs[2])), jobs[2]);
  for (int i : {0, 2})
    EXPECT_TRUE(QFile::exists(QString::fromStdString(jobs[i]->GetJobFile()->GetPath())) &&
                QFile::exists(QString::fromStdString(dir + "/" + std::to_string(i) + "_output.mp4")));
  EXPECT_FALSE(QFile::exists(removed) || QFile::exists(QString::fromStdString(dir + "/1_output.mp4")));
  // The record of a job deleted for good is never written again.
  jobs[1]->SetIsDeleted(false);
  EXPECT_FALSE(QFile::exists(removed));
}

// Only the very file a completed job made goes with it, and only when no other job
// names it: not a file a stopped or failed job finds at its name, not one changed
// since, not a decoy a job file names without having made it.
TEST(JobManager, TotalDeleteTakesOnlyTheFileTheJobMadeAndTrashesIt) {
  clear_job_folder();
  const std::string dir = make_temp_folder("total-delete-others");
  const std::string output = dir + "/a_output.mp4", decoy = dir + "/decoy.txt";
  QFile(QString::fromStdString(output)).open(QIODevice::WriteOnly);
  TxtUtil::write_text_file(decoy, "a document of the user\n");
  JobManager manager;
  auto completed = [&](const std::string& path) {
    JobV3* job = manager.AddJob(new_record("/in/a.mp4", path));
    int64_t size = 0, modified = 0;
    EXPECT_TRUE(JobOutput::IdentityOf(path, &size, &modified));
    job->GetJobFile()->SetOutputIdentity(size, modified);
    job->GetJobFile()->SetIsCompleted(true);
    return job;
  };
  JobV3* stopped = manager.AddJob(new_record("/in/a.mp4", output));
  stopped->GetJobFile()->SetIsStopped(true);
  JobV3* earlier = completed(output);
  JobV3* later = completed(output);
  JobV3* steered = manager.AddJob(new_record("/in/a.mp4", decoy));
  steered->GetJobFile()->SetIsCompleted(true);  // an older file, or a forged one: no identity
  for (JobV3* job : {stopped, earlier, later, steered}) job->SetIsDeleted(true);
  EXPECT_EQ(manager.OutputFateOf(id_of(stopped)), OutputFate::NotMadeHere);
  EXPECT_EQ(manager.OutputFateOf(id_of(earlier)), OutputFate::Shared);
  EXPECT_EQ(manager.OutputFateOf(id_of(steered)), OutputFate::NotMadeHere);
  for (JobV3* job : {stopped, earlier, steered}) {
    const TotalDeletion deletion = manager.TotalDelete(id_of(job), OutputDisposal::Remove);
    EXPECT_TRUE(deletion && deletion.output != OutputFate::Removed) << int(deletion.output);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(output))) << id_of(job);
  }
  EXPECT_EQ(TxtUtil::read_text_file(decoy), "a document of the user\n");

  // Once no other job names it, the output goes with its job: to the trash.
  EXPECT_EQ(manager.OutputFateOf(id_of(later)), OutputFate::Deletable);
  const TotalDeletion trashed = manager.TotalDelete(id_of(later), true);
  EXPECT_TRUE(trashed && trashed.output == OutputFate::Trashed) << int(trashed.output);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(output)));
  // A file that has changed since its job made it stays.
  QFile(QString::fromStdString(output)).open(QIODevice::WriteOnly);
  JobV3* changed = completed(output);
  changed->SetIsDeleted(true);
  ASSERT_TRUE(QFile::resize(QString::fromStdString(output), 10));
  EXPECT_EQ(manager.TotalDelete(id_of(changed), OutputDisposal::Remove).output, OutputFate::NotMadeHere);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(output)));
  // Unchanged, it can go for good too (where the desktop has no trash, once confirmed).
  JobV3* plain = completed(output);
  plain->SetIsDeleted(true);
  EXPECT_EQ(manager.TotalDelete(id_of(plain), OutputDisposal::Remove).output, OutputFate::Removed);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(output)));
}

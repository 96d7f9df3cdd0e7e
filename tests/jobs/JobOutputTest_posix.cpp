// Who owns an output file: reservations that name their job, a final name that is
// never taken over anything, a partial file nobody can plant, a whole output that is
// never lost, and clean-ups that remove only what the job itself made.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <set>
#include <thread>

#include "jobs/JobCreation.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/JobTestSupport.h"
#include "jobs/UpdateGUIThread.h"
#include "platform/OSUtil.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "text/StringUtil.h"
#include "text/TxtUtil.h"

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// Exactly these bytes (a text file of the program's own starts with a byte-order mark).
void put(const std::string& path, const std::string& bytes) {
  QFile file(q(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

// A job made as a front end makes it, its encode a quick stand-in for the encoder.
JobV3* quick_job(JobManager& manager, const std::string& input, const std::string& proposed) {
  const JobCreation::Result created = JobCreation::Create(input, proposed, "95", "h264", ".mp4");
  EXPECT_NE(created.record, nullptr) << created.reason;
  JobV3* job = manager.AddJob(created.record);
  job->SetFFmpegCmd(
      stand_in_encoder(OSUtil::getFileDir(input), 3, "0.2", job->GetJobFile()->GetOutputFile()));
  return job;
}

bool ends(JobV3* job) {
  return wait_until([job] { return JobStateRules::IsFinal(job->GetState()); }, 60000);
}

// The hidden reservations and partial files left in a folder.
QStringList hidden_leftovers(const std::string& folder) {
  return QDir(q(folder)).entryList({".kovadle-*", ".*.part.*"}, QDir::Files | QDir::Hidden | QDir::System);
}

// A read-only view of a folder over itself: files opened before stay writable, names
// in it can no longer change. Mounting takes root; elsewhere the test skips.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& folder) : folder_(folder) {
    mounted_ = ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0;
    if (mounted_ && ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
      release();
  }
  ~ReadOnlyFolder() { release(); }
  bool mounted() const { return mounted_; }
  void release() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    mounted_ = false;
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

}  // namespace

TEST(JobOutput, ReservationsHoldNamesBesideThemAndEachJobLetsGoOnlyOfItsOwn) {
  const std::string folder = make_temp_folder("reserve");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  const std::string wanted = folder + "/in_output.mp4";
  const std::string a = OSUtil::createGuid(), b = OSUtil::createGuid();
  std::string error;
  EXPECT_EQ(JobOutput::Reserve(wanted, input, a, &error), wanted);
  // Nothing under the name a user would open; the reservation is hidden beside it.
  EXPECT_FALSE(OSUtil::isPathTaken(wanted));
  EXPECT_EQ(QFileInfo(q(OSUtil::outputReservationPath(wanted))).fileName().front(), '.');
  EXPECT_EQ(OSUtil::getUniqueOutputPath(folder, "in.mp4", ".mp4"), folder + "/in_output_2.mp4");
  EXPECT_EQ(JobOutput::Reserve(wanted, input, b, &error), folder + "/in_output_2.mp4");
  JobOutput::Release(wanted, b);
  EXPECT_TRUE(JobOutput::IsReservedFor(wanted, a));
  JobOutput::Release(wanted, a);
  EXPECT_FALSE(OSUtil::isOutputNameTaken(wanted));
  // The input is never anyone's output.
  EXPECT_NE(JobOutput::Reserve(input, input, a, &error), input);
  JobFile itself;
  EXPECT_FALSE(itself.Init(input, folder + "/./in.mp4", "95", "h264", ".mp4"));
  EXPECT_EQ(itself.LastSaveError(), "the output file is the input file itself");
}

// Two Kovadle processes on one data folder (two managers here): the sequence that
// once had one job's output replaced by another's, then both adding jobs for one name
// at once while a third program drops files under the names they would take.
TEST(JobOutput, TwoKovadleProcessesNeverShareOrReplaceAnOutput) {
  clear_job_folder();
  const std::string folder = make_temp_folder("race");
  const std::string input = make_clip(folder, "clip.mp4", ClipSpec{});
  const std::string proposed = folder + "/clip_output.mp4";
  JobManager window, cli;
  // The window's job stops and frees the name; kovadle-cli's next job takes it.
  JobV3* stopped = quick_job(window, input, proposed);
  window.RunJob(id_of(stopped));
  window.StopJob(id_of(stopped));
  ASSERT_TRUE(ends(stopped));
  JobV3* first = quick_job(cli, input, proposed);
  EXPECT_EQ(first->GetJobFile()->GetOutputFile(), proposed);
  // The window starts again: its clean-up leaves the other program's reservation be.
  {
    JobManager restarted;
    restarted.LoadStoredJobs();
  }
  EXPECT_TRUE(JobOutput::IsReservedFor(proposed, id_of(first)));
  JobV3* second = quick_job(cli, input, proposed);
  EXPECT_EQ(second->GetJobFile()->GetOutputFile(), folder + "/clip_output_2.mp4");

  UpdateGUIThread::setLoadSampler([](int) { return 0; });
  {
    UpdateGUIThread windowQueue(window), cliQueue(cli);
    windowQueue.start();
    cliQueue.start();
    std::vector<JobV3*> jobs = {first, second};
    std::mutex lock;
    std::atomic<bool> adding{true};
    auto add = [&](JobManager& manager) {
      for (int i = 0; i < 6; ++i) {
        JobV3* job = quick_job(manager, input, proposed);
        manager.RunJob(id_of(job));
        std::lock_guard<std::mutex> guard(lock);
        jobs.push_back(job);
      }
    };
    cli.RunJob(id_of(first));
    cli.RunJob(id_of(second));
    std::thread other([&] {
      for (int n = 2; adding; n = n % 16 + 2) {
        OSUtil::createNewFile(folder + "/clip_output_" + std::to_string(n) + ".mp4", "a user's file\n");
        QThread::msleep(15);
      }
    });
    std::thread one([&] { add(window); }), two([&] { add(cli); });
    one.join();
    two.join();
    for (JobV3* job : jobs) EXPECT_TRUE(ends(job));
    adding = false;
    other.join();
    windowQueue.Stop();
    cliQueue.Stop();

    std::set<std::string> outputs;
    for (JobV3* job : jobs) {
      const std::string output = job->GetJobFile()->GetOutputFile();
      EXPECT_TRUE(job->IsCompleted())
          << JobStateRules::Name(job->GetState()) << ": " << job->GetFailureReason();
      EXPECT_TRUE(outputs.insert(output).second) << "two jobs completed at " << output;
      // Still the very file the job made: never replaced by a later one.
      int64_t size = 0, modified = 0, nowSize = 0, nowModified = 0;
      EXPECT_TRUE(reload(job)->GetOutputIdentity(&size, &modified) &&
                  JobOutput::IdentityOf(output, &nowSize, &nowModified) && size == nowSize &&
                  modified == nowModified)
          << output;
    }
  }
  UpdateGUIThread::setLoadSampler(nullptr);
  for (const QString& name : QDir(q(folder)).entryList({"clip_output_*.mp4"}, QDir::Files)) {
    const std::string path = folder + "/" + name.toStdString();
    if (TxtUtil::read_text_file(path) != "a user's file\n") {
      EXPECT_EQ(probe_entry(path, "v:0", "codec_name"), "h264") << path;
    }
  }
  EXPECT_EQ(hidden_leftovers(folder), QStringList());
}

TEST(JobOutput, AFileAppearingUnderTheNameMovesTheOutputToTheNextFreeOne) {
  clear_job_folder();
  const std::string folder = make_temp_folder("appearing");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  JobV3* job = quick_job(manager, input, folder + "/in_output.mp4");
  JobV3::SetEncoderStartedHook(
      [&] { TxtUtil::write_text_file(folder + "/in_output.mp4", "another program's file\n"); });
  manager.RunJob(id_of(job));
  ASSERT_TRUE(ends(job));
  JobV3::SetEncoderStartedHook(nullptr);
  EXPECT_TRUE(job->IsCompleted()) << job->GetFailureReason();
  EXPECT_EQ(TxtUtil::read_text_file(folder + "/in_output.mp4"), "another program's file\n");
  EXPECT_EQ(reload(job)->GetOutputFile(), folder + "/in_output_2.mp4");
  EXPECT_EQ(probe_entry(folder + "/in_output_2.mp4", "v:0", "codec_name"), "h264");
  EXPECT_EQ(hidden_leftovers(folder), QStringList());
}

// A link planted at the partial name before the run, or put there during it: the
// encoder writes only into the file the job made, nothing outside changes, and no
// link ever completes a job.
TEST(JobOutput, ALinkAtThePartialNameNeverLeadsTheEncoderOut) {
  clear_job_folder();
  const std::string folder = make_temp_folder("planted");
  const std::string outside = make_temp_folder("victim") + "/victim.txt";
  TxtUtil::write_text_file(outside, "precious\n");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  JobV3* before = quick_job(manager, input, folder + "/before_output.mp4");
  const std::string planted = JobOutput::PartialPath(before->GetJobFile()->GetOutputFile(), id_of(before));
  ASSERT_TRUE(QFile::link(q(outside), q(planted)));
  manager.RunJob(id_of(before));
  ASSERT_TRUE(ends(before));
  EXPECT_TRUE(before->IsFailed());
  EXPECT_NE(before->GetFailureReason().find(planted), std::string::npos) << before->GetFailureReason();
  EXPECT_TRUE(QFileInfo(q(planted)).isSymLink()) << "refused, and left as it was";

  JobV3* during = quick_job(manager, input, folder + "/during_output.mp4");
  const std::string partial = JobOutput::PartialPath(during->GetJobFile()->GetOutputFile(), id_of(during));
  JobV3::SetEncoderStartedHook([&] {
    QFile::remove(q(partial));
    QFile::link(q(outside), q(partial));
  });
  manager.RunJob(id_of(during));
  ASSERT_TRUE(ends(during));
  JobV3::SetEncoderStartedHook(nullptr);
  EXPECT_TRUE(during->IsFailed());
  EXPECT_NE(during->GetFailureReason().find("The output was removed or replaced while it was written"),
            std::string::npos)
      << during->GetFailureReason();
  EXPECT_EQ(TxtUtil::read_text_file(outside), "precious\n");
  for (JobV3* job : {before, during}) EXPECT_FALSE(OSUtil::isPathTaken(job->GetJobFile()->GetOutputFile()));
}

// The final name cannot be taken (here: the folder turns read-only once the encoder
// runs): the whole output stays where it is, the job fails saying where, and neither
// the failure nor the next start removes it.
TEST(JobOutput, AWholeOutputThatCannotTakeItsNameIsKeptAndTheReasonSaysWhere) {
  clear_job_folder();
  const std::string folder = make_temp_folder("no-rename");
  const std::string out = folder + "/out";
  ASSERT_TRUE(QDir().mkpath(q(out)));
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  std::unique_ptr<ReadOnlyFolder> readOnly;
  std::string partial;
  {
    JobManager manager;
    JobV3* job = quick_job(manager, input, out + "/in_output.mp4");
    const std::string output = job->GetJobFile()->GetOutputFile();
    partial = JobOutput::PartialPath(output, id_of(job));
    JobV3::SetEncoderStartedHook([&] { readOnly = std::make_unique<ReadOnlyFolder>(out); });
    manager.RunJob(id_of(job));
    ASSERT_TRUE(ends(job));
    JobV3::SetEncoderStartedHook(nullptr);
    ASSERT_NE(readOnly, nullptr);
    if (!readOnly->mounted()) GTEST_SKIP() << "cannot make a read-only view of a folder here";
    readOnly.reset();
    EXPECT_TRUE(job->IsFailed() && !job->IsCompleted()) << JobStateRules::Name(job->GetState());
    const std::string reason = job->GetFailureReason();
    EXPECT_TRUE(reason.find(partial) != std::string::npos && reason.find(output) != std::string::npos)
        << reason;
    EXPECT_FALSE(reload(job)->GetIsCompleted());
    EXPECT_EQ(probe_entry(partial, "v:0", "codec_name"), "h264");
    EXPECT_FALSE(OSUtil::isPathTaken(output));
    manager.StopAllJobs();
  }
  JobManager restarted;
  restarted.LoadStoredJobs();
  EXPECT_TRUE(QFileInfo(q(partial)).isFile()) << "the next start took the whole output away";
}

// A stop that arrives once the encoder has ended well, while the output is checked:
// before the job decides, it is stopped with nothing left; after, the stop comes too
// late and the job completes with its output. Never a stopped job beside a whole output.
TEST(JobOutput, AStopWhileTheOutputIsCheckedEndsInOneStateNeverAMix) {
  clear_job_folder();
  const std::string folder = make_temp_folder("late-stop");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  JobManager manager;
  for (const bool decided : {false, true}) {
    JobV3* job = quick_job(manager, input, folder + "/in_output.mp4");
    std::atomic<int> stopped{-1};
    JobV3::SetFinishingHook([&](bool now) {
      if (now == decided) stopped = manager.StopJob(id_of(job)) ? 1 : 0;
    });
    manager.RunJob(id_of(job));
    ASSERT_TRUE(ends(job));
    JobV3::SetFinishingHook(nullptr);
    const std::string output = job->GetJobFile()->GetOutputFile();
    const std::string partial = JobOutput::PartialPath(output, id_of(job));
    if (!decided) {
      EXPECT_EQ(stopped, 1);
      EXPECT_TRUE(job->IsStopped() && reload(job)->GetIsStopped());
      EXPECT_FALSE(OSUtil::isOutputNameTaken(output) || OSUtil::isPathTaken(partial)) << output;
    } else {
      EXPECT_EQ(stopped, 0);
      EXPECT_TRUE(job->IsCompleted() && reload(job)->GetIsCompleted());
      EXPECT_EQ(probe_entry(output, "v:0", "codec_name"), "h264");
    }
  }
}

// The next start clears what a killed run left, and only that: its own partial file
// and reservation, and what earlier versions left under a waiting job's name when no
// completed job has its output there. Job files that would steer it elsewhere (at the
// input, out of the folder) are not loaded.
TEST(JobOutput, TheStartUpClearsOnlyWhatTheJobsThemselvesLeft) {
  clear_job_folder();
  const std::string folder = make_temp_folder("leftovers");
  const std::string input = make_clip(folder, "in.mp4", ClipSpec{});
  const auto out = [&](const char* name) { return folder + "/" + name + "_output.mp4"; };
  const std::string other = OSUtil::createGuid();
  std::map<std::string, std::string> ids;
  {
    JobManager before;
    for (const char* name : {"killed", "held", "old", "doc", "named", "done", "failed"})
      ids[name] = id_of(before.AddJob(new_record(input, out(name))));
    std::string error;
    JobOutput::Reserve(out("killed"), input, ids["killed"], &error);
    TxtUtil::write_text_file(JobOutput::PartialPath(out("killed"), ids["killed"]), "half an output");
    JobOutput::Reserve(out("held"), input, other, &error);  // another job's reservation of the name
    for (const char* name : {"old", "named"}) put(out(name), "\n");
    put(out("doc"), "a");
    before.FindJob(ids["done"])->GetJobFile()->SetOutputFile(out("named"));
    before.FindJob(ids["done"])->GetJobFile()->SetIsCompleted(true);
    JobFile* failed = before.FindJob(ids["failed"])->GetJobFile();
    failed->SetOutcome("failed", {"The whole output is kept as ..."});
    failed->SetIsStopped(true);
    TxtUtil::write_text_file(JobOutput::PartialPath(out("failed"), ids["failed"]), "a whole output");
  }
  // Job files that name the input as the output, or file names as the job's id.
  const std::string sample = TxtUtil::read_text_file(get_appjobfile_dir() + "/" + ids["doc"] + ".jobfile");
  const std::string placeholder = folder + "/looks_like_a_placeholder.txt";
  put(placeholder, "\n");
  std::string steered = StringUtil::replace_all_copy(sample, out("doc"), placeholder);
  StringUtil::replace_all(steered, input, placeholder);
  StringUtil::replace_all(steered, ids["doc"], OSUtil::createGuid());
  TxtUtil::write_text_file(get_appjobfile_dir() + "/steered.jobfile", steered);
  TxtUtil::write_text_file(get_appjobfile_dir() + "/escape.jobfile",
                           StringUtil::replace_all_copy(sample, ids["doc"], "../../escaped"));

  JobManager after;
  EXPECT_EQ(after.LoadStoredJobs().size(), 7u);
  EXPECT_FALSE(OSUtil::isOutputNameTaken(out("killed")) ||
               OSUtil::isPathTaken(JobOutput::PartialPath(out("killed"), ids["killed"])));
  EXPECT_TRUE(JobOutput::IsReservedFor(out("held"), other));
  EXPECT_FALSE(OSUtil::isPathTaken(out("old")));
  EXPECT_EQ(TxtUtil::read_text_file(out("doc")), "a");
  EXPECT_EQ(TxtUtil::read_text_file(out("named")), "\n");
  EXPECT_EQ(TxtUtil::read_text_file(JobOutput::PartialPath(out("failed"), ids["failed"])), "a whole output");
  EXPECT_EQ(TxtUtil::read_text_file(placeholder), "\n");
}

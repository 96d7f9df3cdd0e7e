// kovadle-cli run as the user runs it: a child process in the isolated home, whose
// data folder is the window's ("kovadle").
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <signal.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <fstream>
#include <set>

#include "environment/UserSettings.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "support/FifoWatch.h"
#include "support/MediaFixtures.h"
#include "support/ScopedTmpfs.h"
#include "support/TestEnvironment.h"
#include "support/TrackFixtures.h"

namespace {

struct CliRun {
  int code = -1;
  std::string out, err;
};

QString cli_path() { return QCoreApplication::applicationDirPath() + "/kovadle-cli"; }

CliRun run_program(const QString& program, const QStringList& arguments, const QString& folder = QString()) {
  QProcess cli;
  cli.setWorkingDirectory(folder);
  cli.start(program, arguments);
  cli.waitForFinished(600000);
  CliRun run;
  run.code = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  run.out = cli.readAllStandardOutput().toStdString();
  run.err = cli.readAllStandardError().toStdString();
  return run;
}

CliRun run_cli(const QStringList& arguments) { return run_program(cli_path(), arguments); }

QString q(const std::string& text) { return QString::fromStdString(text); }

const size_t npos = std::string::npos;

std::string cli_data_dir() { return isolated_home() + "/data/kovadle"; }

// The window's output folder: where outputs go without --output-dir.
void store_output_dir(const std::string& folder) {
  QDir().mkpath(q(cli_data_dir()));
  UserSettings settings(cli_data_dir() + "/UserSettings.config");
  settings.set("OutputDir", folder);
  ASSERT_TRUE(settings.save());
}

void clear_stored_jobs() { QDir(q(cli_data_dir() + "/appjobfile")).removeRecursively(); }

// The stored jobs as (input, output); each must be completed, or else stopped.
using Jobs = std::set<std::pair<std::string, std::string>>;
Jobs stored_jobs(bool completed) {
  Jobs stored;
  for (const std::string& path : JobFile::ListJobFiles(cli_data_dir() + "/appjobfile")) {
    JobFile job;
    job.Load(path);
    EXPECT_EQ(job.GetIsCompleted(), completed) << path;
    EXPECT_EQ(job.GetIsStopped(), !completed) << path;
    stored.emplace(job.GetInputFile(), job.GetOutputFile());
  }
  return stored;
}

std::string text_file(const std::string& folder) {
  const std::string path = folder + "/notes.txt";
  QFile file(q(path));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a video\n") > 0);
  return path;
}

// A minute of still video, quick to make: what the endless encoder below pretends to encode.
ClipSpec minute() {
  ClipSpec spec = clip_of(640, 480, 60);
  spec.fps = 5;
  spec.audio = false;
  return spec;
}

// Two clips named alike in folders a/ and b/: their outputs must not share a name.
std::pair<std::string, std::string> clips_named_alike(const std::string& prefix,
                                                      const ClipSpec& spec = clip_of(640, 480, 1)) {
  const std::string folder = make_temp_folder(prefix);
  QDir(q(folder)).mkpath("a");
  QDir(q(folder)).mkpath("b");
  return {make_clip(folder + "/a", "clip.mp4", spec), make_clip(folder + "/b", "clip.mp4", spec)};
}

// A copy of kovadle-cli whose encoder is the given shell script (the real probe).
std::string cli_with_encoder(const std::string& name, const std::string& script) {
  const std::string app = make_temp_folder(name);
  EXPECT_TRUE(QDir(q(app)).mkdir("bin"));
  EXPECT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/kovadle-cli", q(app + "/kovadle-cli")));
  EXPECT_TRUE(QFile::link(QStandardPaths::findExecutable("ffprobe"), q(app + "/bin/mediainfo")));
  QFile encoder(q(app + "/bin/encoder"));
  EXPECT_TRUE(encoder.open(QIODevice::WriteOnly));
  encoder.write(("#!/bin/sh\n" + script).c_str());
  encoder.close();
  encoder.setPermissions(encoder.permissions() | QFile::ExeOwner);
  return app;
}

// An encoder that notes its pid, reports 10% of a minute at speed 1.0 and never ends (nor moves on).
std::string endless_encoder(const std::string& app) {
  return "echo $$ >> '" + app +
         "/encoder.pids'\necho '  Duration: 00:01:00.00, start: 0.000000, bitrate: 100 kb/s'\n"
         "while true; do\n  echo 'frame=1 fps=25 q=28.0 size=1kB time=00:00:06.00 bitrate=1.0kbits/s "
         "speed=1.0x'\n  sleep 0.2\ndone\n";
}

// Reads the process's standard output until it holds the text.
bool shows(QProcess& process, QByteArray& shown, const char* text) {
  return wait_until(
      [&] {
        process.waitForReadyRead(10);
        shown += process.readAllStandardOutput();
        return shown.contains(text);
      },
      120000);
}

}  // namespace

TEST(CliInfo, DescribesVideosAndRefusesWhatTheWindowRefuses) {
  const std::string folder = make_temp_folder("info");
  ClipSpec hd = clip_of(640, 480, 1), tone = clip_of(640, 480, 1);
  hd.width = 1920;
  hd.height = 1080;
  tone.video = false;
  const std::string video = make_clip(folder, "hd.mp4", hd), audio = make_clip(folder, "tone.m4a", tone);
  // A song with its cover picture is audio only too.
  tone.extra_args =
      "-f\nlavfi\n-i\ntestsrc2=s=600x600:d=1\n-map\n0\n-map\n1\n-frames:v\n1\n-c:v\nmjpeg\n"
      "-disposition:v\nattached_pic";

  // An accepted file: nothing but the answer, no engine traces or log lines.
  CliRun run = run_cli({"info", q(video)});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.find("MediaInfo::"), npos) << run.out;
  EXPECT_NE(run.out.find("\nWidth: 1920\n"), npos) << run.out;
  EXPECT_NE(
      run.out.find("\nResolutionClass: 1080p\nQualities: 99 98 97 96 95 94 93 92 91 90 89 88 87 86 85 84 "
                   "83 82 81 80\n"),
      npos)
      << run.out;

  run = run_cli(
      {"info", "--json", q(video), q(audio), q(text_file(folder)), q(make_clip(folder, "song.mp3", tone))});
  EXPECT_EQ(run.code, 1);
  const QStringList lines = q(run.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << run.out;
  rapidjson::Document json[4];
  for (int i = 0; i < 4; ++i)
    ASSERT_TRUE(json[i].Parse(lines[i].toStdString().c_str()).IsObject()) << run.out;
  EXPECT_STREQ(json[0]["MediaInfo"]["Width"].GetString(), "1920");
  EXPECT_EQ(json[0]["Qualities"].Size(), 20u);
  EXPECT_STREQ(json[1]["Refusal"].GetString(), "Not support audio only file!");
  EXPECT_FALSE(json[1].HasMember("Qualities"));
  EXPECT_STREQ(json[2]["Refusal"].GetString(), "Non video files are not supported!");
  EXPECT_STREQ(json[3]["Refusal"].GetString(), "Not support audio only file!");
}

TEST(CliTranscode, RefusesWhatTheWindowRefusesAndConvertsTheRestIntoJobsTheWindowLists) {
  clear_stored_jobs();
  const auto [first, second] = clips_named_alike("two-clips");
  const std::string out = make_temp_folder("two-clips-out");

  CliRun run = run_cli({"transcode", q(text_file(make_temp_folder("text"))), "-o", q(out)});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("Non video files are not supported!"), npos) << run.err;
  // 640 pixels wide: the 480p ladder, 90 to 99.
  run = run_cli({"transcode", q(first), "--quality", "85", "-o", q(out)});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("valid qualities: 99 98 97 96 95 94 93 92 91 90\n"), npos) << run.err;
  for (const QStringList& wrong : {QStringList{"--format", ".mov"}, QStringList{"--quality", "abc"}}) {
    run = run_cli(QStringList{"transcode", q(first), "-o", q(out)} + wrong);
    EXPECT_EQ(run.code, 2) << run.err;
  }
  EXPECT_TRUE(stored_jobs(true).empty());
  EXPECT_TRUE(QDir(q(out)).isEmpty());

  run = run_cli({"transcode", q(first), q(second), "--format", ".mkv", "--output-dir", q(out)});
  EXPECT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(run.err, "");
  const Jobs expected = {{first, out + "/clip_output.mkv"}, {second, out + "/clip_output_2.mkv"}};
  for (const auto& job : expected) {
    EXPECT_NE(probe_entry(job.second, "format", "format_name").find("matroska"), npos) << job.second;
    EXPECT_EQ(probe_entry(job.second, "v:0", "codec_name"), "h264") << job.second;
  }
  EXPECT_EQ(stored_jobs(true), expected);

  run = run_cli({"jobs"});
  EXPECT_EQ(run.code, 0);
  for (const auto& job : expected)
    EXPECT_NE(run.out.find("Completed\t95\t" + job.first + "\t" + job.second + "\tcompleted\n"), npos)
        << run.out;
}

TEST(CliTranscode, CtrlCStopsTheEncodersAndLeavesTheJobsStopped) {
  clear_stored_jobs();
  const auto [first, second] = clips_named_alike("ctrl-c", minute());
  const std::string out = make_temp_folder("ctrl-c-out");
  store_output_dir(out);

  // A copy of the program whose encoder never ends and never makes its output: the
  // second name must not repeat the first.
  const std::string app = make_temp_folder("ctrl-c-app");
  const std::string program = cli_with_encoder("ctrl-c-app", endless_encoder(app)) + "/kovadle-cli";

  QProcess cli;
  cli.start(q(program), {"transcode", q(first), q(second)});
  ASSERT_TRUE(cli.waitForStarted(30000));
  QByteArray shown;
  // Plain lines off a terminal, numbers with a dot in every locale.
  ASSERT_TRUE(shows(cli, shown, "[1/2] clip.mp4: 10%  speed 1.00x  Estimating...\n"))
      << shown.toStdString() << cli.readAllStandardError().toStdString();

  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 130);
  EXPECT_NE(cli.readAllStandardError().toStdString().find("Interrupted: 2 jobs stopped."), npos);
  QFile pids(q(app + "/encoder.pids"));
  ASSERT_TRUE(pids.open(QIODevice::ReadOnly));
  const QByteArray started = pids.readAll().trimmed();
  ASSERT_FALSE(started.isEmpty());
  for (const QByteArray& pid : started.split('\n'))
    EXPECT_TRUE(wait_until([&] { return process_ended(pid.toLongLong()); }, 10000)) << pid.data();
  EXPECT_EQ(stored_jobs(false),
            (Jobs{{first, out + "/clip_output.mp4"}, {second, out + "/clip_output_2.mp4"}}));
  // Stopped jobs leave nothing under the outputs' names.
  EXPECT_TRUE(QDir(q(out)).isEmpty());
}

namespace {

// kovadle-cli as a shell starts a job: in a process group of its own, which the
// terminal's Ctrl+Z (SIGTSTP) stops as a whole.
class JobControlledProcess : public QProcess {
 protected:
  void setupChildProcess() override { ::setpgid(0, 0); }
};

// The seconds of each "h:mm:ss left" (or "m:ss left") figure in the text, in order.
std::vector<int> times_left(const QString& text) {
  std::vector<int> seconds;
  const QRegularExpression figure("(?:(\\d+):)?(\\d+):(\\d\\d) left");
  for (auto match = figure.globalMatch(text); match.hasNext();) {
    const QRegularExpressionMatch found = match.next();
    seconds.push_back(found.captured(1).toInt() * 3600 + found.captured(2).toInt() * 60 +
                      found.captured(3).toInt());
  }
  return seconds;
}

}  // namespace

// Ctrl+Z stops the program and its encoders (which run in process groups of their
// own, out of the terminal's reach); fg lets them go on, the time left as before the
// stop, and the job completes as if never held.
TEST(CliTranscode, CtrlZHoldsTheEncodersWithTheProgramAndFgLetsThemFinish) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("ctrl-z");
  const std::string clip = make_clip(folder, "clip.mp4", clip_of(640, 480, 12));
  const std::string out = make_temp_folder("ctrl-z-out");
  store_output_dir(out);
  // The real encoder, reading its input at its own pace: an encode of twelve seconds.
  const std::string program =
      cli_with_encoder("ctrl-z-app",
                       "exec '" + QStandardPaths::findExecutable("ffmpeg").toStdString() + "' -re \"$@\"\n") +
      "/kovadle-cli";

  JobControlledProcess cli;
  cli.start(q(program), {"transcode", q(clip)});
  ASSERT_TRUE(cli.waitForStarted(30000));
  const int64_t pid = cli.processId();
  QByteArray shown;
  ASSERT_TRUE(shows(cli, shown, " left\n"))
      << shown.toStdString() << cli.readAllStandardError().toStdString();
  const std::vector<int64_t> encoders = children_with(pid, clip);
  ASSERT_EQ(encoders.size(), 1u);

  ::kill(static_cast<pid_t>(pid), SIGTSTP);
  EXPECT_TRUE(wait_until([&] { return process_stopped(pid) && process_stopped(encoders[0]); }, 10000))
      << "the encoder ran on while its program was stopped";
  cli.waitForReadyRead(100);
  shown += cli.readAllStandardOutput();
  const std::vector<int> before = times_left(QString::fromUtf8(shown));
  ASSERT_FALSE(before.empty());
  const int stopLength = shown.size();
  QThread::msleep(3000);
  EXPECT_TRUE(process_stopped(pid) && process_stopped(encoders[0]));

  ::kill(static_cast<pid_t>(pid), SIGCONT);
  ASSERT_TRUE(cli.waitForFinished(120000));
  shown += cli.readAllStandardOutput();
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const std::vector<int> after = times_left(QString::fromUtf8(shown.mid(stopLength)));
  ASSERT_FALSE(after.empty()) << shown.toStdString();
  // The three seconds stopped are no encoding time: the count goes on from where it stood.
  EXPECT_GE(after.front(), before.back() - 1) << shown.toStdString();
  EXPECT_NE(shown.indexOf("[1/1] Completed " + QByteArray::fromStdString(out) + "/clip_output.mp4"), -1)
      << shown.toStdString();
  EXPECT_NEAR(std::stod(probe_entry(out + "/clip_output.mp4", "format", "duration")), 12.0, 0.3);
}

TEST(CliTranscode, AFailureSaysWhyAndAJobFolderThatTakesNoWriteRefusesTheJob) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("why");
  const std::string clip = make_clip(folder, "clip.mp4", clip_of(640, 480, 1));
  const std::string program =
      cli_with_encoder("why-app", "echo 'Error opening output file: Permission denied' >&2\nexit 1\n") +
      "/kovadle-cli";
  QProcess cli;
  cli.start(q(program), {"transcode", q(clip), "-o", q(folder)});
  ASSERT_TRUE(cli.waitForFinished(120000));
  EXPECT_EQ(cli.exitCode(), 1);
  EXPECT_NE(cli.readAllStandardError().toStdString().find(
                "[1/1] " + clip + ": failed: Error opening output file: Permission denied\n"),
            npos);
  CliRun run = run_cli({"jobs"});
  EXPECT_NE(run.out.find("\tfailed\tError opening output file: Permission denied\n"), npos) << run.out;

  const std::string jobs = cli_data_dir() + "/appjobfile";
  ScopedTmpfs readOnly(jobs, "1m");
  if (!readOnly.mounted() || !readOnly.setReadOnly(true))
    GTEST_SKIP() << "cannot mount a read-only tmpfs here";
  run = run_cli({"transcode", q(clip), "-o", q(folder + "/out")});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find(": cannot save the job in " + jobs + ": "), npos) << run.err;
  EXPECT_TRUE(QDir(q(folder + "/out")).isEmpty());
}

// The window and kovadle-cli share the data folder, and so may two kovadle-cli runs:
// a job belongs to one of them at a time.
TEST(CliTranscode, TwoProgramsOnOneDataFolderNeverShareAJobOrAnOutput) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("shared");
  const std::string clip = make_clip(folder, "clip.mp4", clip_of(640, 480, 1));
  const std::string out = folder + "/out";
  QProcess runs[2];
  for (QProcess& cli : runs)
    cli.start(QCoreApplication::applicationDirPath() + "/kovadle-cli", {"transcode", q(clip), "-o", q(out)});
  for (QProcess& cli : runs) {
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  }
  for (const char* name : {"/clip_output.mp4", "/clip_output_2.mp4"})
    EXPECT_NEAR(std::stod(probe_entry(out + name, "format", "duration")), 1.0, 0.1) << name;

  // A run that goes on, seen from another program as the window sees it.
  clear_stored_jobs();
  const std::string app = make_temp_folder("shared-app");
  const std::string still = make_clip(folder, "still.mp4", minute());
  QProcess slow;
  slow.start(q(cli_with_encoder("shared-app", endless_encoder(app)) + "/kovadle-cli"),
             {"transcode", q(still), "-o", q(out)});
  QByteArray shown;
  ASSERT_TRUE(shows(slow, shown, "10%")) << shown.toStdString();
  const std::string jobs = cli_data_dir() + "/appjobfile";
  const std::vector<std::string> files = JobFile::ListJobFiles(jobs);
  ASSERT_EQ(files.size(), 1u);
  const std::string id = QFileInfo(q(files[0])).completeBaseName().toStdString();
  // Another program's encoding job, as `jobs` tells it.
  EXPECT_NE(run_cli({"jobs"}).out.find(out + "/still_output.mp4\trunning\n"), npos);
  const std::string saving = jobs + "/" + id + ".jobfile.Ab12Cd";  // a save it is making
  QFile(q(saving)).open(QIODevice::WriteOnly);
  {
    JobManager window;
    window.LoadStoredJobs(jobs);
    JobV3* job = window.FindJob(id);
    ASSERT_NE(job, nullptr);
    EXPECT_TRUE(job->IsElsewhere());
    EXPECT_FALSE(window.RunJob(id) || window.StopJob(id) || window.MoveToRecycleBin(id));
    EXPECT_TRUE(QFile::exists(q(saving))) << "a live owner's save was removed";
  }
  // Killed outright, it leaves its reservation (nothing under the name itself) and
  // its partial file; the next start takes the job over and clears them.
  ::kill(static_cast<pid_t>(slow.processId()), SIGKILL);
  ASSERT_TRUE(slow.waitForFinished(30000));
  const std::string output = out + "/still_output.mp4";
  EXPECT_TRUE(OSUtil::isOutputNameTaken(output) && !QFile::exists(q(output)));
  JobManager restarted;
  restarted.LoadStoredJobs(jobs);
  JobV3* job = restarted.FindJob(id);
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->GetState(), JobState::Idle);
  EXPECT_FALSE(OSUtil::isOutputNameTaken(output) || QFile::exists(q(saving)));
  EXPECT_TRUE(QDir(q(out)).entryList({".*.part.*"}, QDir::Files | QDir::Hidden).isEmpty());
  EXPECT_TRUE(job->GetJobFile()->TakeOwnership());
}

TEST(CliInput, PipesAndUnreadableNamesAreRefusedAtOnceLongNamesConvertedIntoTheDefaultFolder) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("odd-names");
  FifoWatch fifo(folder + "/fifo.mp4");
  ASSERT_TRUE(fifo.made());
  QFile::link(q(folder + "/fifo.mp4"), q(folder + "/link.mp4"));  // followed to the FIFO
  // Bytes that are not UTF-8 in a folder's name and a file's: Qt shows U+FFFD for each.
  ASSERT_EQ(::mkdir((folder + "/\xFF").c_str(), 0700), 0);
  ASSERT_TRUE(std::ofstream(folder + "/\xFF/\xFF\xFE bad.mp4").good());
  std::string long_base;
  for (int i = 0; i < 82; ++i) long_base += "\xE8\xA7\x86";  // 246 bytes
  const std::string long_name = make_clip(folder, long_base + ".mp4", clip_of(640, 480, 1));
  // Outputs go to the stored folder, but not to one relative to where the program starts.
  store_output_dir("relative/out");

  // Only a shell hands the program a name's raw bytes.
  const QString bad = R"sh("$(printf '\377/\377\376 bad.mp4')")sh";
  CliRun run =
      run_program("/bin/sh", {"-c", "exec \"$0\" info link.mp4 /dev/null " + bad, cli_path()}, q(folder));
  const std::string special = ": not a regular file (a pipe, a device or a socket)\n";
  EXPECT_EQ(
      std::to_string(run.code) + run.out + run.err,
      "1kovadle-cli: link.mp4" + special + "kovadle-cli: /dev/null" + special +
          "kovadle-cli: \xEF\xBF\xBD/\xEF\xBF\xBD\xEF\xBF\xBD bad.mp4: the file name is not valid UTF-8, "
          "which Kovadle cannot read; rename the file\n");

  run = run_program("/bin/sh",
                    {"-c", "exec \"$0\" transcode fifo.mp4 \"$1\" \"$1\" " + bad, cli_path(), q(long_name)},
                    q(folder));
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.out.find("Finished: 2 completed, 2 refused."), npos) << run.out;
  // Cut to at most 255 bytes with the suffix, a whole character at a time.
  const std::string out = isolated_home() + "/Videos/Kovadle_Output/";
  EXPECT_EQ(stored_jobs(true), (Jobs{{long_name, out + long_base.substr(0, 243) + "_output.mp4"},
                                     {long_name, out + long_base.substr(0, 240) + "_output_2.mp4"}}));
  EXPECT_FALSE(QFileInfo::exists(q(folder + "/relative")));
  // An output folder named so is refused, not replaced by one Qt's decoding names.
  run = run_program(
      "/bin/sh", {"-c", "exec \"$0\" transcode \"$1\" -o \"$(printf 'out\\377')\"", cli_path(), q(long_name)},
      q(folder));
  EXPECT_EQ(run.code, 2) << run.err;
  EXPECT_EQ(QDir(q(folder)).entryList({"out*"}, QDir::AllEntries), QStringList()) << run.err;
  EXPECT_FALSE(fifo.readerWasBlocked());
}

// A name can hold a terminal's escape sequences and line breaks: what a person reads
// shows them escaped, one job per line; JSON carries the name as it is.
TEST(CliOutput, ControlCharactersInNamesAreShownEscapedAndJsonKeepsThemExactly) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("control");
  const std::string odd = folder + "/tab\there\nnew\x1b]0;pwned\x07\x1b[31mred.mp4";
  const std::string shown = folder + R"(/tab\there\nnew\033]0;pwned\a\033[31mred.mp4)";
  ASSERT_TRUE(QFile::rename(q(make_clip(folder, "clip.mp4", clip_of(640, 480, 1))), q(odd)));
  const auto raw_controls = [](const std::string& text) {
    return std::count_if(text.begin(), text.end(), [](char c) { return c == '\x1b' || c == '\x07'; });
  };

  CliRun run = run_cli({"info", q(odd)});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.rfind("File: " + shown + "\n", 0), 0u) << run.out;
  EXPECT_EQ(raw_controls(run.out), 0);
  run = run_cli({"info", "--json", q(odd)});
  rapidjson::Document json;
  ASSERT_TRUE(json.Parse(run.out.c_str()).IsObject()) << run.out;
  EXPECT_EQ(json["File"].GetString(), odd);

  run = run_cli({"transcode", q(odd), "-o", q(folder)});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(raw_controls(run.out + run.err), 0) << run.out << run.err;
  EXPECT_NE(run.out.find(" Completed " + shown.substr(0, shown.size() - 4) + "_output.mp4\n"), npos)
      << run.out;
  run = run_cli({"transcode", q(odd + ".missing\n\x1b[2J"), "-o", q(folder)});
  EXPECT_EQ(run.err, "kovadle-cli: " + shown + R"(.missing\n\033[2J: no such file)" + "\n");

  // Two jobs, two lines of five fields each.
  run = run_cli({"transcode", q(odd), "-o", q(folder + "/out\tdir")});
  EXPECT_EQ(run.code, 0) << run.err;
  run = run_cli({"jobs"});
  const QStringList lines = q(run.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << run.out;
  for (const QString& line : lines) EXPECT_EQ(line.count('\t'), 4) << line.toStdString();
  EXPECT_NE(run.out.find("\t" + shown + "\t" + folder + R"(/out\tdir/tab\there)"), npos) << run.out;
  EXPECT_EQ(raw_controls(run.out), 0);
}

TEST(CliTracks, InfoListsEveryTrackAndAllTracksKeepsThem) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("cli-tracks");
  const std::string clip = make_multitrack_clip(folder);
  ASSERT_FALSE(clip.empty());
  CliRun run = run_cli({"info", q(clip)});
  EXPECT_EQ(run.code, 0) << run.err;
  for (const char* line :
       {"\nAudioTrack1: index=1 codec=aac language=eng default=false forced=false title=English\n",
        "\nAudioTrack2: index=2 codec=aac language=ger default=false forced=false "
        "title=Deutsch = gut\n",
        "\nSubtitleTrack1: index=3 codec=subrip language=eng default=false forced=true title=\n",
        "\nSubtitleTrack4: index=6 codec=dvb_subtitle language= default=false forced=false "
        "title=\nResolutionClass: 480p\n"})
    EXPECT_NE(run.out.find(line), npos) << run.out;
  run = run_cli({"info", "--json", q(clip)});
  rapidjson::Document json;
  ASSERT_TRUE(json.Parse(run.out.c_str()).IsObject()) << run.out;
  ASSERT_EQ(json["AudioTracks"].Size(), 2u);
  EXPECT_STREQ(json["AudioTracks"][1]["Title"].GetString(), "Deutsch = gut");
  ASSERT_EQ(json["SubtitleTracks"].Size(), 4u);
  EXPECT_STREQ(json["SubtitleTracks"][0]["Forced"].GetString(), "true");
  EXPECT_STREQ(json["SubtitleTracks"][1]["Codec"].GetString(), "hdmv_pgs_subtitle");
  EXPECT_STREQ(json["MediaInfo"]["AudioChannel"].GetString(), "1");  // the record's keys as they were

  EXPECT_EQ(run_cli({"info", "--all-tracks", q(clip)}).code, 2);
  const std::string out = make_temp_folder("cli-tracks-out");
  run = run_cli({"transcode", q(clip), "--format", ".ts", "--all-tracks", "-o", q(out)});
  EXPECT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(stream_list(out + "/tracks_output.ts"),
            "video/h264//, audio/aac/eng/, audio/aac/ger/, subtitle/dvb_subtitle/und/");
  run = run_cli({"transcode", q(clip), "--format", ".ts", "-o", q(out)});
  EXPECT_EQ(stream_list(out + "/tracks_output_2.ts"), "video/h264//, audio/aac/ger/");
}

// Scripts read `jobs --json`: every value exact, also a name with a tab, a newline and
// an escape sequence; our own reason in English with its code.
TEST(CliJobs, JobsAsJsonCarryNamesAndReasonsExactly) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("json");
  const std::string odd = folder + "/odd\tna\nme \x1b[31m.mp4";
  ASSERT_TRUE(QFile::copy(q(make_clip(folder, "clip.mp4", clip_of(640, 480, 1))), q(odd)));
  const std::string program = cli_with_encoder("json-app", "exit 3\n") + "/kovadle-cli";
  EXPECT_EQ(run_program(q(program), {"transcode", q(odd), "-o", q(folder)}).code, 1);

  const CliRun run = run_cli({"jobs", "--json"});
  EXPECT_EQ(run.code, 0) << run.err;
  const QStringList lines = q(run.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1) << run.out;
  rapidjson::Document job;
  ASSERT_TRUE(job.Parse(lines[0].toStdString().c_str()).IsObject()) << run.out;
  EXPECT_EQ(std::string(job["Input"].GetString()), odd);
  EXPECT_EQ(std::string(job["Output"].GetString()), folder + "/odd\tna\nme \x1b[31m_output.mp4");
  EXPECT_STREQ(job["Table"].GetString(), "Transcoding");
  EXPECT_STREQ(job["State"].GetString(), "failed");
  EXPECT_STREQ(job["Reason"].GetString(), "The encoder failed with exit code 3");
  EXPECT_STREQ(job["ReasonCode"].GetString(), "encoder-exit-code");
  ASSERT_TRUE(job["ReasonArgs"].IsArray() && job["ReasonArgs"].Size() == 1);
  EXPECT_STREQ(job["ReasonArgs"][0].GetString(), "3");
  EXPECT_EQ(run_cli({"transcode", "--json", q(odd)}).code, 2);
}

// Every command and option the help lists is in the manual page.
TEST(CliHelp, TheManualPageNamesEveryCommandAndOptionOfTheHelp) {
  const CliRun help = run_cli({"--help"});
  ASSERT_EQ(help.code, 0);
  QFile page(KOVADLE_SOURCE_DIR "/packaging/kovadle-cli.1");
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  // The roff text with its escaped hyphens and font changes undone.
  QString manual = QString::fromUtf8(page.readAll());
  manual.replace("\\-", "-").remove(QRegularExpression("\\\\f[BIRP]"));
  // The first column of each section's entries: commands by name, options by flag.
  QStringList listed;
  QString section;
  for (const QString& line : q(help.out).split('\n')) {
    if (!line.startsWith(' ')) section = line;
    if (!QRegularExpression("^  \\S").match(line).hasMatch()) continue;
    const QString entry = line.trimmed().section(QRegularExpression("\\s{2,}"), 0, 0);
    if (section == "Commands:") listed << entry.section(' ', 0, 0);
    if (section != "Options:") continue;
    for (auto option = QRegularExpression("(--?[a-z][a-z-]*)").globalMatch(entry); option.hasNext();)
      listed << option.next().captured(1);
  }
  listed.removeDuplicates();
  for (const char* word : {"info", "transcode", "jobs", "--json", "--quality", "--help-all", "-o"})
    EXPECT_TRUE(listed.contains(word)) << word << " not found in the help: " << help.out;
  for (const QString& word : listed) {
    const QRegularExpression named("(?<![\\w-])" + QRegularExpression::escape(word) + "(?![\\w-])");
    EXPECT_TRUE(named.match(manual).hasMatch()) << word.toStdString() << " is missing from kovadle-cli.1";
  }
}

TEST(CliSize, ASizeIsAUnitedNumberWithoutAQualityAndInfoSaysWhatItBuys) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("size"), out = make_temp_folder("size-out");
  const std::string clip = make_clip(folder, "clip.mp4", clip_of(854, 480, 4));
  for (const QStringList& wrong :
       {QStringList{"transcode", q(clip), "--size", "25"},
        QStringList{"transcode", q(clip), "--size", "25XB"},
        QStringList{"transcode", q(clip), "--size", "25MB", "--quality", "95"},
        QStringList{"jobs", "--size", "25MB"}, QStringList{"info", q(clip), "--format", ".mkv"}}) {
    const CliRun run = run_cli(wrong);
    EXPECT_EQ(run.code, 2) << wrong.join(' ').toStdString() << ": " << run.err;
  }
  EXPECT_NE(run_cli({"transcode", q(clip), "--size", "2.5 XB"}).err.find("B, kB, MB, GB, KiB, MiB, GiB"),
            npos);

  // What a size buys for an output of the format; one too small says the least.
  CliRun run = run_cli({"info", q(clip), "--size", "1MB", "--format", ".mkv"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("\nSize: 1 MB\nSizeVerdict: planned\nSizeQuality: "), npos) << run.out;
  EXPECT_NE(run.out.find("\nSizeResolution: 854x480\nSizeFramerate: 24.000\nSizeVideoBitrate: "), npos);
  run = run_cli({"info", "--json", q(clip), "--size", "10kB"});
  EXPECT_EQ(run.code, 1);
  rapidjson::Document json;
  ASSERT_TRUE(json.Parse(run.out.c_str()).IsObject()) << run.out;
  EXPECT_STREQ(json["SizePlan"]["Verdict"].GetString(), "too-small");
  const std::string smallest = json["SizePlan"]["Smallest"].GetString();
  run = run_cli({"transcode", q(clip), "--size", "10kB", "-o", q(out)});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(
      run.err.find("cannot be made as small as 10 kB: the smallest size it can be made in is " + smallest),
      npos)
      << run.err;

  run = run_cli({"transcode", q(clip), "--size", q(smallest), "-o", q(out)});
  EXPECT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("/clip_output.mp4 ("), npos) << run.out;
  EXPECT_NE(run.out.find(" of " + smallest + ")\n"), npos) << run.out;
  const int64_t bytes = QFileInfo(q(out + "/clip_output.mp4")).size();
  const int64_t target = SizeText::Parse(smallest).value_or(0);
  EXPECT_LE(bytes, target);
  EXPECT_GE(bytes, target * 0.93);
  run = run_cli({"jobs", "--json"});
  EXPECT_NE(run.out.find("\"TargetSize\":\"" + std::to_string(target) + "\""), npos) << run.out;
}

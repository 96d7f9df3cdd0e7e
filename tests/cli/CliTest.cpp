// kovadle-cli run as the user runs it: a child process in the isolated home, whose
// data folder is the window's ("kovadle").
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <memory>
#include <set>

#include "Util/UserSettings.h"
#include "jobs/JobFile.h"
#include "jobs/JobTestSupport.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {

struct CliRun {
  int code = -1;
  std::string out;
  std::string err;
};

CliRun run_cli(const QStringList& arguments) {
  QProcess cli;
  cli.start(QCoreApplication::applicationDirPath() + "/kovadle-cli", arguments);
  cli.waitForFinished(600000);
  CliRun run;
  run.code = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  run.out = cli.readAllStandardOutput().toStdString();
  run.err = cli.readAllStandardError().toStdString();
  return run;
}

QString q(const std::string& text) { return QString::fromStdString(text); }

std::string cli_data_dir() { return isolated_home() + "/data/kovadle"; }

std::vector<std::unique_ptr<JobFile>> stored_jobs() {
  std::vector<std::unique_ptr<JobFile>> jobs;
  for (const std::string& path : JobFile::ListJobFiles(cli_data_dir() + "/appjobfile")) {
    jobs.push_back(std::make_unique<JobFile>());
    jobs.back()->Load(path);
  }
  return jobs;
}

void clear_stored_jobs() { QDir(q(cli_data_dir() + "/appjobfile")).removeRecursively(); }

std::string text_file(const std::string& folder) {
  const std::string path = folder + "/notes.txt";
  QFile file(q(path));
  file.open(QIODevice::WriteOnly);
  file.write("not a video\n");
  return path;
}

ClipSpec small_clip() {
  ClipSpec spec;
  spec.seconds = 1;
  return spec;
}

// The first child of pid whose command line holds the text, or -1.
int64_t child_with(int64_t pid, const QByteArray& text) {
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile stat("/proc/" + entry + "/stat"), cmdline("/proc/" + entry + "/cmdline");
    if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly)) continue;
    const QByteArray fields = stat.readAll();
    const QList<QByteArray> after = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
    if (after.size() > 1 && after[1].toLongLong() == pid && cmdline.readAll().contains(text))
      return entry.toLongLong();
  }
  return -1;
}

}  // namespace

TEST(CliInfo, DescribesVideosAndRefusesWhatTheWindowRefuses) {
  const std::string folder = make_temp_folder("info");
  ClipSpec hd = small_clip();
  hd.width = 1920;
  hd.height = 1080;
  ClipSpec tone = small_clip();
  tone.video = false;
  const std::string video = make_clip(folder, "hd.mp4", hd);
  const std::string audio = make_clip(folder, "tone.m4a", tone);
  const std::string text = text_file(folder);

  CliRun run = run_cli({"info", q(video), q(audio), q(text)});
  EXPECT_EQ(run.code, 1);
  const size_t audioAt = run.out.find("File: " + audio + "\n");
  const size_t textAt = run.out.find("File: " + text + "\n");
  ASSERT_NE(audioAt, std::string::npos) << run.out;
  ASSERT_NE(textAt, std::string::npos) << run.out;
  const std::string videoPart = run.out.substr(0, audioAt);
  EXPECT_NE(videoPart.find("\nWidth: 1920\n"), std::string::npos) << videoPart;
  EXPECT_NE(
      videoPart.find("\nResolutionClass: 1080p\nQualities: 99 98 97 96 95 94 93 92 91 90 89 88 87 86 85 84 "
                     "83 82 81 80\n"),
      std::string::npos)
      << videoPart;
  EXPECT_NE(run.out.find("\nRefusal: Not support audio only file!\n", audioAt), std::string::npos);
  EXPECT_NE(run.out.find("\nRefusal: Non video files are not supported!\n", textAt), std::string::npos);

  run = run_cli({"info", "--json", q(video), q(audio)});
  EXPECT_EQ(run.code, 1);
  const QStringList lines = q(run.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << run.out;
  rapidjson::Document first, second;
  first.Parse(lines[0].toStdString().c_str());
  second.Parse(lines[1].toStdString().c_str());
  ASSERT_TRUE(first.IsObject() && second.IsObject()) << run.out;
  EXPECT_STREQ(first["File"].GetString(), video.c_str());
  EXPECT_STREQ(first["MediaInfo"]["Width"].GetString(), "1920");
  EXPECT_STREQ(first["ResolutionClass"].GetString(), "1080p");
  ASSERT_EQ(first["Qualities"].Size(), 20u);
  EXPECT_STREQ(first["Qualities"][0].GetString(), "99");
  EXPECT_STREQ(second["Refusal"].GetString(), "Not support audio only file!");
  EXPECT_FALSE(second.HasMember("Qualities"));

  // An accepted file: nothing but the answer, no engine traces or log lines.
  run = run_cli({"info", q(video)});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.find("MediaInfo::"), std::string::npos);
}

TEST(CliTranscode, ConvertsClipsIntoJobsTheWindowLists) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("two-clips");
  QDir(q(folder)).mkpath("a");
  QDir(q(folder)).mkpath("b");
  const std::string first = make_clip(folder + "/a", "movie.mp4", small_clip());
  const std::string second = make_clip(folder + "/b", "movie.mp4", small_clip());
  const std::string out = make_temp_folder("two-clips-out");

  CliRun run = run_cli({"transcode", q(first), q(second), "--format", ".mkv", "--output-dir", q(out)});
  EXPECT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(run.err, "");
  const std::set<std::pair<std::string, std::string>> expected = {{first, out + "/movie_output.mkv"},
                                                                  {second, out + "/movie_output_2.mkv"}};
  for (const auto& job : expected) {
    EXPECT_NE(probe_entry(job.second, "format", "format_name").find("matroska"), std::string::npos)
        << job.second;
    EXPECT_EQ(probe_entry(job.second, "v:0", "codec_name"), "h264") << job.second;
    EXPECT_NE(run.out.find("Completed " + job.second + "\n"), std::string::npos) << run.out;
  }

  std::set<std::pair<std::string, std::string>> stored;
  for (const auto& job : stored_jobs()) {
    stored.emplace(job->GetInputFile(), job->GetOutputFile());
    EXPECT_TRUE(job->GetIsCompleted());
    EXPECT_FALSE(job->GetIsStopped());
    EXPECT_EQ(job->GetQuality(), "95");
    EXPECT_EQ(job->GetOutputCodec(), "h264");
    EXPECT_EQ(job->GetOutputFormat(), ".mkv");
  }
  EXPECT_EQ(stored, expected);

  run = run_cli({"jobs"});
  EXPECT_EQ(run.code, 0);
  for (const auto& job : expected)
    EXPECT_NE(run.out.find("Completed\t95\t" + job.first + "\t" + job.second + "\n"), std::string::npos)
        << run.out;
}

TEST(CliTranscode, RefusesWhatTheWindowRefusesAndListsTheLadder) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("refused");
  const std::string clip = make_clip(folder, "clip.mp4", small_clip());
  const std::string out = make_temp_folder("refused-out");

  CliRun run = run_cli({"transcode", q(text_file(folder)), "-o", q(out)});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("Non video files are not supported!"), std::string::npos) << run.err;

  // 640 pixels wide: the 480p ladder, 90 to 99.
  run = run_cli({"transcode", q(clip), "--quality", "85", "-o", q(out)});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("valid qualities: 99 98 97 96 95 94 93 92 91 90\n"), std::string::npos) << run.err;

  run = run_cli({"transcode", q(clip), "--format", ".mov", "-o", q(out)});
  EXPECT_EQ(run.code, 2);
  EXPECT_TRUE(stored_jobs().empty());
  EXPECT_TRUE(QDir(q(out)).isEmpty());
}

TEST(CliTranscode, CtrlCStopsTheEncodersAndLeavesTheJobsStopped) {
  clear_stored_jobs();
  const std::string folder = make_temp_folder("ctrl-c");
  QDir(q(folder)).mkpath("a");
  QDir(q(folder)).mkpath("b");
  const std::string first = make_clip(folder + "/a", "clip.mp4", small_clip());
  const std::string second = make_clip(folder + "/b", "clip.mp4", small_clip());
  // The window's output folder: where outputs go without --output-dir.
  const std::string out = make_temp_folder("ctrl-c-out");
  QDir().mkpath(q(cli_data_dir()));
  UserSettings settings(cli_data_dir() + "/UserSettings.config");
  settings.set("OutputDir", out);
  ASSERT_TRUE(settings.save());

  // A copy of the program whose encoder reports 10% at speed 1.0, never ends and
  // never makes its output: the second name must not repeat the first.
  const std::string app = make_temp_folder("ctrl-c-app");
  ASSERT_TRUE(QDir(q(app)).mkdir("bin"));
  ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/kovadle-cli", q(app + "/kovadle-cli")));
  ASSERT_TRUE(QFile::link(QStandardPaths::findExecutable("ffprobe"), q(app + "/bin/mediainfo")));
  QFile encoder(q(app + "/bin/encoder"));
  ASSERT_TRUE(encoder.open(QIODevice::WriteOnly));
  encoder.write(
      "#!/bin/sh\necho '  Duration: 00:01:00.00, start: 0.000000, bitrate: 100 kb/s'\n"
      "while true; do\n  echo 'frame=1 fps=25 q=28.0 size=1kB time=00:00:06.00 bitrate=1.0kbits/s "
      "speed=1.0x'\n"
      "  sleep 0.2\ndone\n");
  encoder.close();
  encoder.setPermissions(encoder.permissions() | QFile::ExeOwner);

  QProcess cli;
  cli.start(q(app + "/kovadle-cli"), {"transcode", q(first), q(second)});
  ASSERT_TRUE(cli.waitForStarted(30000));
  QByteArray shown;
  int64_t encoderPid = -1;
  // Plain lines off a terminal, numbers with a dot in every locale.
  const bool encoding = wait_until(
      [&] {
        cli.waitForReadyRead(10);
        shown += cli.readAllStandardOutput();
        if (encoderPid <= 0) encoderPid = child_with(cli.processId(), "bin/encoder");
        return encoderPid > 0 && shown.contains("[1/2] clip.mp4: 10%  speed 1.00x  0:00:54 left\n");
      },
      120000);
  ASSERT_TRUE(encoding) << shown.toStdString() << cli.readAllStandardError().toStdString();

  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 130);
  EXPECT_TRUE(wait_until([&] { return process_ended(encoderPid); }, 10000)) << encoderPid;
  EXPECT_NE(cli.readAllStandardError().toStdString().find("Interrupted: 2 jobs stopped."), std::string::npos);

  std::set<std::pair<std::string, std::string>> stored;
  for (const auto& job : stored_jobs()) {
    stored.emplace(job->GetInputFile(), job->GetOutputFile());
    EXPECT_TRUE(job->GetIsStopped());
    EXPECT_FALSE(job->GetIsCompleted());
  }
  const std::set<std::pair<std::string, std::string>> expected = {{first, out + "/clip_output.mp4"},
                                                                  {second, out + "/clip_output_2.mp4"}};
  EXPECT_EQ(stored, expected);
}

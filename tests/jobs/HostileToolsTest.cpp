// The engine against tools that misbehave: a probe report with a 3.3 MB tag and
// impossible figures, an encoder that prints garbage and runs past its duration,
// and programs killed by SIGKILL while their tools run.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <cmath>
#include <cstdlib>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "text/StringUtil.h"

namespace {

void write_file(const std::string& path, const QByteArray& bytes, bool executable = false) {
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path;
  if (executable) file.setPermissions(file.permissions() | QFile::ExeOwner);
}

// A copy of the helper in a folder of its own, with these scripts as its bin/ tools.
std::string fake_app(const std::string& name, const QByteArray& probe, const QByteArray& encoder) {
  const std::string dir = make_temp_folder(name);
  QDir(QString::fromStdString(dir)).mkdir("bin");
  const QString helper = QCoreApplication::applicationDirPath() + "/jobs_hostile_helper";
  EXPECT_TRUE(QFile::copy(helper, QString::fromStdString(dir + "/jobs_hostile_helper")));
  write_file(dir + "/bin/mediainfo", "#!/bin/sh\n" + probe, true);
  write_file(dir + "/bin/encoder", "#!/bin/sh\n" + encoder, true);
  return dir + "/jobs_hostile_helper";
}

}  // namespace

TEST(HostileTools, OddProbeAndEncoderOutputCannotCrashStallOrMislead) {
  const std::string dir = make_temp_folder("odd-tools");
  // Impossible figures for the video, an audio stream and a container that claim
  // rotation, and a 3.3 MB container tag full of a word the parser removes.
  QByteArray report =
      "[streams.stream.0]\ncodec_name=h264\ncodec_type=video\nwidth=1920\nheight=inf\n"
      "bit_rate=-2500000\nr_frame_rate=-30/1\npix_fmt=yuv420p\n[streams.stream.0.disposition]\n"
      "[streams.stream.0.tags]\nxrotate=90\n[streams.stream.1]\ncodec_name=aac\ncodec_type=audio\n"
      "bit_rate=-1\n[streams.stream.1.disposition]\n[streams.stream.1.tags]\nrotate=90\n"
      "[format]\nfilename=in.mp4\nduration=10.000000\nsize=-5\n[format.tags]\nrotate=270\nxrotate=";
  for (int i = 0; i < 300000; ++i) report += "coded_width";
  write_file(dir + "/report.ini", report + "\n");
  write_file(dir + "/in.mp4", "");  // only a file that is there is probed
  // Garbage, a negative start, times past the duration, absurd and broken figures.
  // (A read holding a NUL ends there, so the NUL comes last.)
  const QByteArray encoder =
      "for out; do :; done; : > \"$out\"\n"
      "exec 1>&2\n"
      "printf 'fake encoder \\377\\376 frame= time= speed=\\r\\r\\n'\n"
      "printf '  Duration: 00:00:10.00, start: -5.5, bitrate: N/A\\n'\n"
      "printf 'frame=  1 fps=0 q=0 size=0kB time=00:00:05.00 bitrate=N/A speed=2x\\r'; sleep 1\n"
      "printf 'frame=  2 fps=0 q=0 size=0kB time=00:01:40.00 bitrate=N/A speed=1e308x\\r'; sleep 1\n"
      "printf 'frame= time=99:99:99.99 speed=-1x\\nframe= time=-1:-1:-1.-1 speed=nanx\\n'\n"
      "printf 'frame=time=\\nDuration: 00:00:00.00, start: x\\nframe=3 time=00:00:0'; sleep 0.4\n"
      "printf '\\000\\nframe=4 time=00:00:01.00 speed=1x\\n'\n";
  const std::string helper =
      fake_app("odd-app", "cat '" + QByteArray::fromStdString(dir) + "/report.ini'\n", encoder);
  int exitCode = -1;
  const std::string out =
      run_and_capture(helper, dir + "/in.mp4\n" + dir + "/out.mp4", false, 120000, &exitCode);
  ASSERT_EQ(exitCode, 0) << out.substr(0, 4000);

  // The plan: no rotation from foreign tags, no negative or zero figures.
  const size_t cmdAt = out.find("CMD:");
  ASSERT_NE(cmdAt, std::string::npos);
  const std::string cmd = out.substr(cmdAt, out.find('\n', cmdAt) - cmdAt);
  EXPECT_EQ(cmd.find("-noautorotate"), std::string::npos) << cmd;
  EXPECT_NE(cmd.find(" -s 1920x1080 "), std::string::npos) << cmd;
  for (const char* bad : {"-b:v -", "-b:a -", "-b:v 0", "-r 0.000", "-r -"})
    EXPECT_EQ(cmd.find(bad), std::string::npos) << cmd;

  // Every snapshot in range; only the last one says the job is done.
  std::vector<std::pair<double, double>> figures;  // (time left, progress)
  for (size_t at = out.find("SNAPSHOT:"); at != std::string::npos; at = out.find("SNAPSHOT:", at + 1)) {
    const std::string text = out.substr(at + 9, out.find('\n', at) - at - 9);
    for (const auto& entry : JobManager::ParseJobsProgress(text))
      figures.emplace_back(StringUtil::str_to_double(entry.second.first),
                           StringUtil::str_to_double(entry.second.second));
  }
  ASSERT_GE(figures.size(), 3u);
  bool followed = false;
  for (size_t i = 0; i < figures.size(); ++i) {
    const double left = figures[i].first, progress = figures[i].second;
    EXPECT_TRUE(left == -1 || (left >= 0 && std::isfinite(left))) << i << ": " << left;
    EXPECT_TRUE(progress == -1 || (progress >= 0 && progress <= 1)) << i << ": " << progress;
    // The window moves a job to Completed on progress above 0.99999 with no time left.
    const bool looksDone = progress > 0.99999 && left < 0.00001;
    EXPECT_EQ(looksDone, i + 1 == figures.size()) << i << ": " << left << "|" << progress;
    followed = followed || (progress > 0 && progress < 1);
  }
  EXPECT_TRUE(followed) << "the encoder's progress never showed";
}

TEST(HostileTools, AKilledProgramTakesItsEncoderAndProbeAlong) {
  // Tools that never end on their own and never write (so no broken pipe ends them).
  const std::string dir = make_temp_folder("killed");
  write_file(dir + "/in.mp4", "");  // only a file that is there is probed
  const QByteArray pidFile = QByteArray::fromStdString(dir + "/tool.pid");
  const QByteArray hang =
      "echo $$ > '" + pidFile + ".new'; mv '" + pidFile + ".new' '" + pidFile + "'; exec sleep 600\n";
  const QByteArray video =
      "printf "
      "'[streams.stream.0]\\ncodec_name=h264\\ncodec_type=video\\nwidth=640\\n[streams.stream.0.x]\\n'\n";
  // Killed while encoding, then while probing.
  for (const auto& tools : {std::make_pair(video, hang), std::make_pair(hang, QByteArray("exit 1\n"))}) {
    QFile::remove(QString::fromUtf8(pidFile));
    QProcess program;
    program.start(QString::fromStdString(fake_app("killed-app", tools.first, tools.second)),
                  {QString::fromStdString(dir + "/in.mp4"), QString::fromStdString(dir + "/out.mp4")});
    int64_t tool = -1;
    for (QDeadlineTimer deadline(60000); tool <= 0 && !deadline.hasExpired(); QThread::msleep(20)) {
      QFile file(QString::fromUtf8(pidFile));
      if (file.open(QIODevice::ReadOnly)) tool = file.readAll().trimmed().toLongLong();
    }
    ASSERT_GT(tool, 0);
    ASSERT_EQ(::kill(pid_t(program.processId()), SIGKILL), 0);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_TRUE(wait_until([tool] { return process_ended(tool); }, 10000)) << "a tool outlived us";
    if (!process_ended(tool)) ::kill(pid_t(tool), SIGKILL);  // ours: do not leave it running
  }
}

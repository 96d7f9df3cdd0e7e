#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <set>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "platform/OSUtil.h"
#include "support/MediaFixtures.h"
#include "support/ProcessState.h"
#include "support/TestEnvironment.h"

// A whole job through encoder.exe as the program runs it: the generated command,
// progress read from the Windows build's "\r\n" and "\r" ended lines, the end recorded.
TEST(JobRunWindows, EncoderProgressIsReadFromItsConsoleOutputToTheEnd) {
  clear_job_folder();
  const std::string folder =
      QDir::toNativeSeparators(QString::fromStdString(make_temp_folder("win job"))).toStdString();
  ClipSpec spec;
  spec.width = 640;
  spec.height = 360;
  spec.seconds = 8;
  const std::string input = make_clip(folder, "clip 视频.mp4", spec);
  ASSERT_FALSE(input.empty());
  const std::string output = folder + "\\clip 视频_output.mp4";

  JobManager manager;
  JobV3* job = manager.AddAndRunJob(new_record(input, output));
  std::set<int> percents;
  double duration = -1;
  for (int waited = 0; job->IsRunning() && waited < 600000; waited += 20) {
    const double progress = job->GetProgress();
    if (progress >= 0 && progress < 1) percents.insert(static_cast<int>(progress * 100));
    if (job->GetDuration() > 0) duration = job->GetDuration();
    QThread::msleep(20);
  }
  EXPECT_TRUE(job->IsCompleted() && !job->IsFailed() && reload(job)->GetIsCompleted());
  EXPECT_NEAR(duration, 8.0, 0.1) << "the input's length was not measured";
  EXPECT_FALSE(percents.empty()) << "no progress line was read while encoding";
  EXPECT_EQ(job->GetProgress(), 1.0);
  EXPECT_EQ(probe_entry(output, "v:0", "codec_name"), "h264");
  EXPECT_GT(QFileInfo(QString::fromStdString(output)).size(), 0);
}

// A program ended outright (Task Manager, TerminateProcess) runs none of its own exit
// code: only the job object its children joined ends the encoder it left running.
TEST(JobRunWindows, AProgramKilledOutrightTakesItsEncoderAlong) {
  ClipSpec spec;
  spec.seconds = 20;
  const std::string clip = make_clip(make_temp_folder("killed"), "long.mp4", spec);
  ASSERT_FALSE(clip.empty());
  QProcess helper;
  helper.start(
      QString::fromStdString(OSUtil::pathJoin(OSUtil::getAppDir(), "jobs_exit_helper")),
      {"wait", QString::fromStdString(clip), QString::fromStdString(make_temp_folder("killed-out"))});
  QString out;
  while (!out.contains("ready") && helper.waitForReadyRead(60000)) out += helper.readAllStandardOutput();
  const QRegularExpressionMatch encoder = QRegularExpression("encoder pid:(\\d+)").match(out);
  ASSERT_TRUE(out.contains("ready") && encoder.hasMatch()) << out.toStdString();
  const int64_t pid = encoder.captured(1).toLongLong();
  ASSERT_GT(pid, 0);
  EXPECT_FALSE(process_gone(pid)) << "the encoder ended before the program was killed";

  helper.kill();
  ASSERT_TRUE(helper.waitForFinished(30000));
  EXPECT_TRUE(wait_until([pid] { return process_gone(pid); }, 10000)) << "the encoder outlived its program";
}

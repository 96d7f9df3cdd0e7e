// What a whole output is measured against: the length of the streams it keeps, from
// the probe's headers and packets, never from a stream that runs on (subtitles) nor
// from text a file's tags can hold.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "jobs/EncoderOutcome.h"
#include "jobs/JobCreation.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "probe/StreamLength.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "text/TxtUtil.h"

namespace {

// Video and audio of about four seconds, a subtitle cue at 7 to 8 s, and a video
// title holding a line the encoder prints as if it were the input's duration.
std::string subtitled_mkv(const std::string& folder) {
  const std::string clip = make_clip(folder, "av.mkv", clip_of(640, 360, 4));
  const std::string cues = folder + "/cues.srt";
  QFile srt(QString::fromStdString(cues));
  EXPECT_TRUE(srt.open(QIODevice::WriteOnly));
  srt.write("1\n00:00:00,500 --> 00:00:01,000\nfirst\n\n2\n00:00:07,000 --> 00:00:08,000\nlast\n");
  srt.close();
  const QString path = QString::fromStdString(folder + "/subtitled.mkv");
  QProcess encoder;
  encoder.setProcessChannelMode(QProcess::MergedChannels);
  encoder.start(
      QString::fromStdString(tool_path("encoder")),
      {"-y", "-loglevel", "error", "-i", QString::fromStdString(clip), "-i", QString::fromStdString(cues),
       "-map", "0", "-map", "1", "-c", "copy", "-c:s", "srt", "-metadata:s:v:0",
       "title=clip\nDuration: 00:00:01.00, start: 0.000000, bitrate: 1 kb/s", path});
  EXPECT_TRUE(encoder.waitForFinished(120000) && encoder.exitCode() == 0) << encoder.readAll().toStdString();
  return path.toStdString();
}

}  // namespace

TEST(JobLength, TheKeptStreamsAreTheYardstickForCompletionAndProgress) {
  clear_job_folder();
  const std::string folder = make_temp_folder("length");
  const std::string input = subtitled_mkv(folder);
  ASSERT_NEAR(std::stod(probe_entry(input, "format", "duration")), 8.0, 0.1) << "the subtitle sets the end";
  EXPECT_NEAR(StreamLength::Measure(input), 4.0, 0.3);

  JobManager manager;
  const JobCreation::Result created =
      JobCreation::Create(input, folder + "/subtitled_output.mp4", "95", "h264", ".mp4");
  ASSERT_NE(created.record, nullptr) << created.reason;
  JobV3* job = manager.AddAndRunJob(created.record);
  double largest = 0;
  for (int waited = 0; !JobStateRules::IsFinal(job->GetState()) && waited < 120000; waited += 20) {
    if (job->GetDuration() > largest) largest = job->GetDuration();
    QThread::msleep(20);
  }
  EXPECT_TRUE(job->IsCompleted()) << job->GetFailureReason();
  EXPECT_NEAR(largest, 4.0, 0.3) << "progress measured against another length";
  EXPECT_NEAR(std::stod(probe_entry(job->GetJobFile()->GetOutputFile(), "format", "duration")), 4.0, 0.3);

  // A stream without any time stamps: its frames at its rate.
  const std::string raw = folder + "/raw.h264";
  int code = -1;
  run_and_capture(tool_path("encoder"),
                  "-y\n-loglevel\nerror\n-i\n" + input + "\n-map\n0:v\n-c\ncopy\n-f\nh264\n" + raw, true,
                  120000, &code);
  ASSERT_EQ(code, 0);
  EXPECT_NEAR(StreamLength::Measure(raw), 4.0, 0.1);
  EXPECT_EQ(StreamLength::Measure(folder + "/cues.srt"), -1) << "no video, no length";
}

// An output counts as whole within max(1 s, 2 %) of the input's length, and never
// without knowing that length.
TEST(JobLength, AnOutputShortByMoreThanTheToleranceIsNotWhole) {
  MediaInfo output;
  output.hasVideo = true;
  EncoderOutcome::Run run;
  run.ending = ProcessRunner::Ending::Exited;
  run.exitCode = 0;
  const auto whole = [&](double input, const char* outputSeconds) {
    run.inputSeconds = input;
    output.overallDuration = MediaFigure(outputSeconds);
    return EncoderOutcome::Judge(run, output).completed;
  };
  EXPECT_TRUE(whole(60, "58.900000"));
  EXPECT_FALSE(whole(60, "57.000000"));
  EXPECT_FALSE(whole(600, "560.000000"));
  EXPECT_TRUE(whole(10, "9.100000"));
  EXPECT_FALSE(whole(10, "8.800000"));
  EXPECT_FALSE(whole(-1, "10.000000"));
  EXPECT_EQ(EncoderOutcome::Judge(run, output).errorLines.front(),
            "The input's length could not be read to check the output");
}

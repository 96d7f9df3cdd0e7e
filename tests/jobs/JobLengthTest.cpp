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

namespace {

// An MKV of four seconds of video and two audio tracks: a mono one of firstSeconds,
// then a stereo one of secondSeconds marked as the default, which the encoder keeps
// when it picks one itself.
std::string two_audio_mkv(const std::string& folder, const std::string& name, int firstSeconds,
                          int secondSeconds) {
  const std::string path = folder + "/" + name;
  int code = -1;
  const std::string log = run_and_capture(
      tool_path("encoder"),
      "-y\n-loglevel\nerror\n-f\nlavfi\n-i\ntestsrc2=size=640x360:rate=25:duration=4\n-f\nlavfi\n-i\n"
      "sine=frequency=440:duration=" +
          std::to_string(firstSeconds) +
          "\n-f\nlavfi\n-i\naevalsrc=sin(660*2*PI*t)|sin(880*2*PI*t):d=" + std::to_string(secondSeconds) +
          "\n-map\n0:v\n-map\n1:a\n-map\n2:a\n-c:v\nlibx264\n-preset\nultrafast\n-c:a\naac\n"
          "-disposition:a:0\n0\n-disposition:a:1\ndefault\n" +
          path,
      true, 120000, &code);
  EXPECT_EQ(code, 0) << log;
  return path;
}

// Runs a job of the input to its end; the command may be changed first.
JobV3* run_to_end(JobManager& manager, const std::string& input, const std::string& output, bool allTracks,
                  const std::function<void(CommandLine&)>& change = {}) {
  const JobCreation::Result created = JobCreation::Create(input, output, "95", "h264", ".mp4", allTracks);
  EXPECT_NE(created.record, nullptr) << created.reason;
  JobV3* job = manager.AddJob(created.record);
  CommandLine command = job->MakeFFmpegCmd();
  if (change) change(command);
  job->SetFFmpegCmd(command);
  manager.RunJob(id_of(job));
  EXPECT_TRUE(wait_until([job] { return JobStateRules::IsFinal(job->GetState()); }, 120000));
  return job;
}

}  // namespace

// The yardstick is the audio the output keeps, not the input's first track: a kept
// track shorter than the first must not make a whole output "too short", and one
// longer must not let a cut output pass.
TEST(JobLength, TheAudioTheOutputKeepsIsTheYardstickNotTheFirstTrack) {
  clear_job_folder();
  const std::string folder = make_temp_folder("kept-audio");
  const std::string shortKept = two_audio_mkv(folder, "short-kept.mkv", 10, 4);
  const std::string longKept = two_audio_mkv(folder, "long-kept.mkv", 4, 10);
  EXPECT_NEAR(StreamLength::Measure(shortKept), 10.0, 0.3) << "by default the first audio counts";
  EXPECT_NEAR(StreamLength::Measure(shortKept, std::vector<int>{0, 2}), 4.0, 0.3);
  EXPECT_NEAR(StreamLength::Measure(shortKept, std::vector<int>{0, 1, 2}), 10.0, 0.3);
  EXPECT_NEAR(StreamLength::Measure(longKept, std::vector<int>{5, 6}), 4.0, 0.3) << "no such streams";

  JobManager manager;
  JobV3* usual = run_to_end(manager, shortKept, folder + "/usual.mp4", false);
  EXPECT_TRUE(usual->IsCompleted()) << usual->GetFailureReason();
  EXPECT_NEAR(std::stod(probe_entry(usual->GetJobFile()->GetOutputFile(), "format", "duration")), 4.0, 0.3);
  JobV3* every = run_to_end(manager, shortKept, folder + "/every.mp4", true);
  EXPECT_TRUE(every->IsCompleted()) << every->GetFailureReason();
  EXPECT_NEAR(std::stod(probe_entry(every->GetJobFile()->GetOutputFile(), "format", "duration")), 10.0, 0.3);

  // Cut at six seconds, longer than the video and the first audio track.
  JobV3* cut = run_to_end(manager, longKept, folder + "/cut.mp4", false, [](CommandLine& command) {
    command.InsertBeforeLast({"-t", "6"});
  });
  EXPECT_TRUE(cut->IsFailed());
  EXPECT_EQ(cut->GetJobFile()->GetReason().code, JobReason::kTooShort);
}

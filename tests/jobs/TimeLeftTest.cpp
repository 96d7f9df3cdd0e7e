#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "jobs/Job.h"
#include "jobs/QueueTimeLeft.h"
#include "jobs/TimeLeftEstimator.h"

namespace {

constexpr double kFps = 24;
constexpr int kDelayFrames = 48;  // two media seconds in the encoder's look-ahead
constexpr double kDuration = 120;

TimeLeftEstimator::Pipeline pipeline() {
  TimeLeftEstimator::Pipeline pipeline;
  pipeline.frameRate = kFps;
  pipeline.delayFrames = kDelayFrames;
  return pipeline;
}

// An encode of kDuration media seconds whose encoder takes in its look-ahead three
// times as fast as it then encodes; from slowFromMs on it encodes at half the rate.
struct Encode {
  double rate = 1.0;  // media seconds per second once the look-ahead is full
  double slowFromMs = 1e18;

  double fillMs() const { return kDelayFrames / (3 * rate * kFps) * 1000; }
  // Frames handed to the encoder by ms.
  double frames(double ms) const {
    if (ms < fillMs()) return ms / 1000 * 3 * rate * kFps;
    const double steady = std::min(ms, slowFromMs) - fillMs();
    const double slow = std::max(0.0, ms - slowFromMs);
    return std::min(kDelayFrames + (steady * rate + slow * rate / 2) / 1000 * kFps, kDuration * kFps);
  }
  // Media seconds still to encode, look-ahead included, at the rate of ms.
  double mediaLeft(double ms) const { return kDuration - frames(ms) / kFps + kDelayFrames / kFps; }
};

// Feeds a line every half second from fromMs up to toMs; true when the estimator
// said nothing (still estimating) at every line before toMs.
void feed(TimeLeftEstimator& estimator, const Encode& encode, int64_t fromMs, int64_t toMs) {
  for (int64_t ms = fromMs; ms <= toMs; ms += 500) {
    const double frames = encode.frames(static_cast<double>(ms));
    estimator.OnProgress(ms, frames / kFps, static_cast<int64_t>(frames), -1);
  }
}

std::string progressLine(int frames, double seconds, const char* size = "size=    1024kB") {
  char line[200];
  std::snprintf(line, sizeof line,
                "frame=%5d fps= 24 q=28.0 %s time=00:%02d:%05.2f bitrate=1000.0kbits/s speed=1.0x\n", frames,
                size, static_cast<int>(seconds) / 60, std::fmod(seconds, 60.0));
  return line;
}

}  // namespace

// The frames that fill the look-ahead go in fast: measured from the start they would
// promise a far shorter encode. No figure before a few seconds of steady output, then
// the steady rate's.
TEST(TimeLeftEstimator, IgnoresTheFastLookAheadAtTheStartAndWaitsForSteadyOutput) {
  TimeLeftEstimator estimator;
  estimator.Start(pipeline());
  estimator.SetDuration(kDuration);
  const Encode encode;
  feed(estimator, encode, 0, 2500);
  EXPECT_EQ(estimator.At(2500).kind, TimeLeft::Kind::Estimating);
  feed(estimator, encode, 3000, 8000);
  const TimeLeft left = estimator.At(8000);
  ASSERT_EQ(left.kind, TimeLeft::Kind::Seconds);
  // The encoder's flush of its look-ahead is part of it, though faster than encoding.
  const double real = encode.mediaLeft(8000) / encode.rate;
  EXPECT_NEAR(left.seconds / real, 1.0, 0.05) << left.seconds << " against " << real;
  // An average since the start would be off by far more.
  const double sinceStart = (kDuration - encode.frames(8000) / kFps) / (encode.frames(8000) / kFps / 8);
  EXPECT_GT(std::fabs(sinceStart / real - 1), 0.1);

  // Without a known duration there is nothing to count.
  TimeLeftEstimator noDuration;
  noDuration.Start(pipeline());
  feed(noDuration, encode, 0, 20000);
  EXPECT_EQ(noDuration.At(20000).kind, TimeLeft::Kind::Estimating);
}

// Between two lines the figure counts down; when the encoder slows down the figure
// follows within the recent window, long before the whole encode's average has moved.
TEST(TimeLeftEstimator, CountsDownBetweenLinesAndFollowsARateChange) {
  TimeLeftEstimator estimator;
  estimator.Start(pipeline());
  estimator.SetDuration(kDuration);
  Encode encode;
  encode.slowFromMs = 40000;
  feed(estimator, encode, 0, 30000);
  const double atLine = estimator.At(30000).seconds;
  EXPECT_NEAR(estimator.At(30400).seconds, atLine - 0.4, 1e-6);
  EXPECT_NEAR(estimator.At(32000).seconds, atLine - 2, 1e-6);
  EXPECT_NEAR(estimator.Rate(), 1.0, 0.02);

  feed(estimator, encode, 30500, 60000);
  const double real = encode.mediaLeft(60000) / (encode.rate / 2);
  EXPECT_NEAR(estimator.At(60000).seconds / real, 1.0, 0.12) << estimator.At(60000).seconds;
  // The average since the start still reads 0.83.
  EXPECT_LT(estimator.Rate(), 0.6);
}

// A size job's analysis run and the output's run read as one job: the analysis
// counts the output's run in its time left and its progress only up to its share;
// the output's run starts from the rate the analysis expects of it, not from
// "Estimating…".
TEST(TimeLeftEstimator, TwoRunsOfAJobReadAsOne) {
  TimeLeftEstimator analysis;
  TimeLeftEstimator::Pipeline first = pipeline();
  first.laterRuns = 2;  // the output's run takes twice as long
  analysis.Start(first);
  analysis.SetDuration(kDuration);
  Encode fast;
  fast.rate = 3;
  feed(analysis, fast, 0, 20000);
  const double real = fast.mediaLeft(20000) / fast.rate + 2 * kDuration / fast.rate;
  EXPECT_NEAR(analysis.At(20000).seconds / real, 1.0, 0.05) << analysis.At(20000).seconds;

  TimeLeftEstimator output;
  TimeLeftEstimator::Pipeline second = pipeline();
  second.expectedRate = 1.5;
  output.SetDuration(kDuration);
  output.Start(second, 50000);
  EXPECT_NEAR(output.At(50000).seconds, kDuration / 1.5, 0.2);
  EXPECT_NEAR(output.At(53000).seconds, kDuration / 1.5 - 3, 0.2);
  // Paused as one run ended: the next begins paused, its figure stands until the resume.
  TimeLeftEstimator held;
  held.SetDuration(kDuration);
  held.OnPaused(49000);
  held.Start(second, 50000);
  EXPECT_NEAR(held.At(50000 + 600000).seconds, kDuration / 1.5, 0.2);
  held.OnResumed(50000 + 600000);
  EXPECT_NEAR(held.At(53000 + 600000).seconds, kDuration / 1.5 - 3, 0.2);
  // Its own rate replaces the expected one once measured.
  Encode slow;
  slow.rate = 0.5;
  for (int64_t ms = 500; ms <= 20000; ms += 500) {
    const double frames = slow.frames(static_cast<double>(ms));
    output.OnProgress(50000 + ms, frames / kFps, static_cast<int64_t>(frames), -1);
  }
  EXPECT_NEAR(output.At(70000).seconds / (slow.mediaLeft(20000) / slow.rate), 1.0, 0.1);

  Job job;
  job.SetDuration(100);
  job.SetRunShare(0.35, 0.65);
  job.HandleOutputLine("frame=1200 fps=24 q=28.0 size=1kB time=00:00:50.00 bitrate=1kbits/s speed=1x");
  EXPECT_NEAR(job.GetProgress(), 0.35 + 0.65 * 0.5, 1e-9);
  job.SetRunShare(0, 0.35);
  EXPECT_NEAR(job.GetProgress(), 0.175, 1e-9);
}

// A paused encoder, told or not, is no slow encoder: its pause neither counts down
// nor lowers the rate.
TEST(TimeLeftEstimator, PausesAndSilencesDoNotCountAsEncodingTime) {
  const Encode encode;
  TimeLeftEstimator steady;
  steady.Start(pipeline());
  steady.SetDuration(kDuration);
  feed(steady, encode, 0, 40000);
  const double expected = steady.At(40000).seconds;

  // Told: the figure stands while paused, and the encode goes on as if never held.
  TimeLeftEstimator told;
  told.Start(pipeline());
  told.SetDuration(kDuration);
  feed(told, encode, 0, 20000);
  told.OnPaused(20200);
  const double held = told.At(20200).seconds;
  EXPECT_DOUBLE_EQ(told.At(20200 + 600000).seconds, held);
  told.OnResumed(20200 + 600000);
  for (int64_t ms = 20500; ms <= 40000; ms += 500) {
    const double frames = encode.frames(static_cast<double>(ms));
    told.OnProgress(ms + 600000, frames / kFps, static_cast<int64_t>(frames), -1);
  }
  EXPECT_NEAR(told.At(40000 + 600000).seconds, expected, 0.5);

  // Not told (the machine slept on a clock that went on, the encoder was held by
  // someone else): a long silence counts as one usual gap.
  TimeLeftEstimator silent;
  silent.Start(pipeline());
  silent.SetDuration(kDuration);
  feed(silent, encode, 0, 20000);
  for (int64_t ms = 20500; ms <= 40000; ms += 500) {
    const double frames = encode.frames(static_cast<double>(ms));
    silent.OnProgress(ms + 300000, frames / kFps, static_cast<int64_t>(frames), -1);
  }
  EXPECT_NEAR(silent.At(40000 + 300000).seconds, expected, 0.5);
  EXPECT_NEAR(silent.Rate(), 1.0, 0.02);
}

// After the last progress line the encoder flushes its look-ahead and the MP4 is
// rewritten: the figure counts on through the flush, then reads "finishing", never a
// second or none that stands still.
TEST(TimeLeftEstimator, FinishesWithoutStandingAtTheLastSecond) {
  Job job;
  TimeLeftEstimator::Pipeline mp4 = pipeline();
  mp4.rewritesAtEnd = true;
  job.BeginRun(mp4);
  int firstLines = 0;
  job.SetFirstProgressCallback([&firstLines] { ++firstLines; });
  job.SetDuration(20);
  EXPECT_EQ(job.GetTimeLeftAt(0).kind, TimeLeft::Kind::Estimating);
  // Steady until all 480 frames went in, about 2 GB written by then.
  int64_t ms = 0;
  for (int frames = 1; frames < 480; frames += 12, ms += 500) {
    job.HandleOutputLine(progressLine(frames, frames / kFps, "size=2000000kB"), ms);
  }
  job.HandleOutputLine(progressLine(480, 20.0, "size=2000000kB"), ms);
  EXPECT_EQ(firstLines, 1);
  // Still to come: the flush of the look-ahead (over a second) and the rewrite (about two).
  const TimeLeft atLastLine = job.GetTimeLeftAt(ms);
  ASSERT_EQ(atLastLine.kind, TimeLeft::Kind::Seconds);
  EXPECT_GT(atLastLine.seconds, 3.0);
  for (int64_t later = ms; later < ms + 30000; later += 100) {
    const TimeLeft left = job.GetTimeLeftAt(later);
    if (left.kind == TimeLeft::Kind::Seconds) {
      EXPECT_GE(left.seconds, 1.0) << later - ms;
    }
  }
  EXPECT_EQ(job.GetTimeLeftAt(ms + 30000).kind, TimeLeft::Kind::Finishing);

  // The encoder's own words end the encoding as well: the rewrite, the closing
  // report (whose time would start the flush again), the encoder's end.
  for (const std::string& last : {std::string("[mp4 @ 0x1] Starting second pass: moving the moov atom\n"),
                                  progressLine(480, 20.0, "Lsize=  401000kB"), std::string()}) {
    job.BeginRun(mp4);
    for (int frames = 1; frames < 400; frames += 12)
      job.HandleOutputLine(progressLine(frames, frames / kFps), frames * 40);
    ASSERT_EQ(job.GetTimeLeftAt(16000).kind, TimeLeft::Kind::Seconds);
    if (last.empty()) {
      job.EncoderEnded();
    } else {
      job.HandleOutputLine(last, 16000);
    }
    EXPECT_EQ(job.GetTimeLeftAt(16000).kind, TimeLeft::Kind::Finishing) << last;
    // The snapshot's text has nothing left to count.
    EXPECT_EQ(job.GetEstimateLeftTime(), 0) << last;
  }
  EXPECT_EQ(firstLines, 4);
}

TEST(TimeLeft, OneClockForEveryFrontEnd) {
  const std::pair<double, const char*> cases[] = {
      {-5, "0:00"},      {0.4, "0:00"},       {59.4, "0:59"},      {59.5, "1:00"},          {599, "9:59"},
      {3599.4, "59:59"}, {3599.5, "1:00:00"}, {90061, "25:01:01"}, {1e300, "100000:00:00"}, {NAN, "0:00"}};
  for (const auto& c : cases) EXPECT_EQ(TimeLeft::Clock(c.first), c.second) << c.first;
}

// The pipeline comes from the command the program generates.
TEST(TimeLeftEstimator, ReadsThePipelineOffTheEncoderCommand) {
  const TimeLeftEstimator::Pipeline mp4 =
      TimeLeftEstimator::PipelineOf({"-y", "-i", "in.mov", "-movflags", "+faststart", "-vcodec", "h264",
                                     "-preset", "medium", "-r", "23.976", "out.mp4"});
  EXPECT_NEAR(mp4.frameRate, 23.976, 1e-9);
  EXPECT_TRUE(mp4.rewritesAtEnd);
  EXPECT_EQ(mp4.delayFrames, TimeLeftEstimator::DelayFramesOf("medium"));
  EXPECT_GT(TimeLeftEstimator::DelayFramesOf("medium"), TimeLeftEstimator::DelayFramesOf("veryfast"));
  // About 49 frames on this 2-processor machine (measured); more threads hold more,
  // up to the threads a frame can use.
  EXPECT_EQ(TimeLeftEstimator::DelayFramesOf("medium", 2), 49);
  EXPECT_LT(TimeLeftEstimator::DelayFramesOf("medium", 2), TimeLeftEstimator::DelayFramesOf("medium", 8));
  EXPECT_EQ(TimeLeftEstimator::DelayFramesOf("medium", 64), TimeLeftEstimator::DelayFramesOf("medium", 256));
  // No rate, a rate that is no number, no preset: the encoder's own time alone.
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"-i", "in.mov", "out.mkv"}, {"-r", "abc", "out.mkv"}, {"-r"}}) {
    const TimeLeftEstimator::Pipeline other = TimeLeftEstimator::PipelineOf(command);
    EXPECT_EQ(other.frameRate, 0);
    EXPECT_FALSE(other.rewritesAtEnd);
  }
}

// The queue's time left: the running job's own, then the waiting jobs' input at the
// rate the running ones encode; nothing while a figure it needs is not known.
TEST(QueueTimeLeft, AddsTheWaitingJobsAtTheRunningRate) {
  JobStatus running;
  running.state = JobState::Encoding;
  running.leftKind = TimeLeft::Kind::Seconds;
  running.timeLeft = 100;
  running.rate = 2;
  JobStatus waiting;
  waiting.state = JobState::Waiting;
  waiting.duration = 600;
  JobStatus done;
  done.state = JobState::Completed;
  EXPECT_EQ(QueueTimeLeft::Of({running, waiting, waiting, done}), 700.0);
  // Two side by side at 1 each: 300 media seconds of work left at 2 together, then 1200.
  JobStatus second = running;
  second.timeLeft = 200;
  second.rate = 1;
  running.rate = 1;
  EXPECT_EQ(QueueTimeLeft::Of({running, second, waiting, waiting}), 750.0);

  EXPECT_FALSE(QueueTimeLeft::Of({running}));  // nothing waits: the job's own figure says it
  JobStatus unknown = waiting;
  unknown.duration = -1;
  EXPECT_FALSE(QueueTimeLeft::Of({running, waiting, unknown}));
  JobStatus estimating = running;
  estimating.leftKind = TimeLeft::Kind::Estimating;
  EXPECT_FALSE(QueueTimeLeft::Of({estimating, waiting}));
  // A paused job holds the queue: a total that does not count down would mislead.
  JobStatus paused = running;
  paused.state = JobState::Paused;
  EXPECT_FALSE(QueueTimeLeft::Of({running, paused, waiting}));
}

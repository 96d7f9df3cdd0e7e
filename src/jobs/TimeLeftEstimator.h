#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "jobs/TimeLeft.h"

// Estimates how long an encode still takes from the encoder's progress lines.
//
// It knows the encoder's pipeline: the H.264 encoder holds a number of frames in
// its look-ahead before the first one comes out. Those go in fast at the start
// (the rate then says nothing yet) and are encoded after the last progress line
// (the flush). An MP4 is written a second time at the end, its index first. The
// rate is measured mostly over the recent past, so that a change of load or
// content shows soon, and the figure counts down between the encoder's lines.
//
// Times are milliseconds of a clock that stops while the machine sleeps; a pause
// told to it, or a long silence of the encoder, does not count as encoding time.
// Not thread-safe: the job guards it.
class TimeLeftEstimator {
 public:
  struct Pipeline {
    double frameRate = 0;        // frames per media second handed to the encoder; 0: unknown
    int delayFrames = 0;         // frames in the encoder before the first comes out
    bool rewritesAtEnd = false;  // the output is written once more when encoded
    // A job of several runs (an analysis run before the output's): the runs after
    // this one take this many times as long as this one.
    double laterRuns = 0;
    // Media seconds a second this run is expected to encode, from an earlier run of
    // the job: counted down from until the run's own rate is measured. 0: unknown.
    double expectedRate = 0;
  };

  // The frames x264 holds with a preset (look-ahead, B-frames, frame threads) on a
  // machine with that many processors (0: this one).
  static int DelayFramesOf(const std::string& preset, unsigned processors = 0);
  // The pipeline an encoder command line sets up ("-r", "-preset", "+faststart").
  static Pipeline PipelineOf(const std::vector<std::string>& arguments, unsigned processors = 0);

  // A new run: forgets everything but the duration. From nowMs on the pipeline's
  // expected rate gives a figure until the run's own is measured.
  void Start(const Pipeline& pipeline, int64_t nowMs = -1);
  // The input's duration in seconds; not positive: unknown.
  void SetDuration(double seconds);
  // One progress line: media seconds ("time="), frames handed to the encoder
  // ("frame=", -1 when absent), bytes written so far ("size=", -1 when absent).
  void OnProgress(int64_t nowMs, double mediaSeconds, int64_t frames, int64_t bytes);
  // Everything is encoded: the output is being completed and checked.
  void OnFinishing();
  // The encoder is held (a paused job) from nowMs until OnResumed; none of it counts.
  void OnPaused(int64_t nowMs);
  void OnResumed(int64_t nowMs);

  TimeLeft At(int64_t nowMs) const;
  // Media seconds encoded per second lately; -1 while not known.
  double Rate() const { return rate_; }

 private:
  struct Sample {
    double activeMs;  // on the encoding clock: pauses and silences taken out
    double position;  // media seconds handed to the encoder
  };
  double activeAt(int64_t nowMs) const;
  void measure();

  Pipeline pipeline_;
  double duration_ = -1;
  std::deque<Sample> samples_;
  double steadyFromMs_ = -1;  // when the look-ahead was full, -1 before
  double steadyPosition_ = 0;
  double outputBytes_ = -1;  // projected for the whole input
  double rate_ = -1;
  double leftAtLine_ = -1;    // seconds left as of the last line, -1 while unknown
  double expectedLeft_ = -1;  // seconds left by the expected rate as of expectedAtMs_, -1 none
  double expectedAtMs_ = 0;
  double lastLineMs_ = -1;  // active time of the last line
  int64_t lastLineRawMs_ = -1;
  double pausedMs_ = 0;        // taken out of the encoding clock so far
  int64_t pausedSince_ = -1;   // a pause told and not ended yet
  double typicalGapMs_ = 500;  // between two lines, lately
  bool finishing_ = false;
};

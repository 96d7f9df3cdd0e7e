#include "jobs/TimeLeftEstimator.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <thread>

#include "text/StringUtil.h"

namespace {
// The rate is measured over this share of the steady encode so far, within bounds:
// long enough to even out the encoder's bursts, short enough to follow a change.
constexpr double kWindowShare = 0.25;
constexpr double kMinWindowMs = 4000;
constexpr double kMaxWindowMs = 30000;
// The whole steady encode's rate weighs in a little (geometrically), so that a
// passing dip or burst does not swing the figure as far as the recent rate alone.
constexpr double kWholeWeight = 0.2;
// Steady output needed before the first figure.
constexpr double kSteadyMs = 2000;
// A silence this many times the usual gap between lines (and at least the
// minimum) is a pause, not slow encoding.
constexpr double kSilenceFactor = 8;
constexpr double kMinSilenceMs = 5000;
// The frames in the look-ahead have been analysed already: flushing them costs less
// than encoding as many new ones.
constexpr double kFlushShare = 0.6;
// Below this the figure would only stand at 0:01 or 0:00.
constexpr double kFinishingBelow = 1.0;
// The encoder's exit and the check of the output (a probe): about 0.1 s measured.
constexpr double kCheckSeconds = 0.1;
// Moving an MP4's index to the front copies the whole file once: 1.7 GB/s measured
// for files the system still caches, less for large ones on a disk.
constexpr double kRewriteBytesPerSecond = 1e9;
}  // namespace

int TimeLeftEstimator::DelayFramesOf(const std::string& preset, unsigned processors) {
  // x264's look-ahead and B-frames per preset; medium when unknown.
  static const std::map<std::string, std::pair<int, int>> kPresets = {
      {"ultrafast", {0, 0}}, {"superfast", {0, 3}}, {"veryfast", {10, 3}}, {"faster", {20, 3}},
      {"fast", {30, 3}},     {"medium", {40, 3}},   {"slow", {50, 3}},     {"slower", {60, 8}},
      {"veryslow", {60, 8}}, {"placebo", {60, 16}}};
  const auto found = kPresets.find(preset);
  const std::pair<int, int> frames = found == kPresets.end() ? kPresets.at("medium") : found->second;
  // Each of its frame threads (1.5 per processor, a frame's height limits how many
  // are of use) holds about two frames more.
  if (processors == 0) processors = std::max(1u, std::thread::hardware_concurrency());
  const int threads = static_cast<int>(std::ceil(std::min(1.5 * processors, 16.0)));
  return frames.first + frames.second + 2 * threads;
}

TimeLeftEstimator::Pipeline TimeLeftEstimator::PipelineOf(const std::vector<std::string>& arguments,
                                                          unsigned processors) {
  Pipeline pipeline;
  std::string preset;
  for (size_t i = 0; i + 1 < arguments.size(); ++i) {
    const std::string& value = arguments[i + 1];
    if (arguments[i] == "-r") {
      pipeline.frameRate = StringUtil::str_to_double(value);
    } else if (arguments[i] == "-preset") {
      preset = value;
    } else if (arguments[i] == "-movflags") {
      pipeline.rewritesAtEnd = value.find("faststart") != std::string::npos;
    }
  }
  if (!(pipeline.frameRate > 0 && pipeline.frameRate < 1000)) pipeline.frameRate = 0;
  // Without a preset the encoder (libx264) works as with medium.
  pipeline.delayFrames = DelayFramesOf(preset.empty() ? "medium" : preset, processors);
  return pipeline;
}

void TimeLeftEstimator::Start(const Pipeline& pipeline, int64_t nowMs) {
  const double duration = duration_;
  // A run that begins while the job is paused (held before its encoder starts) is
  // paused from that moment on.
  const int64_t pausedSince = pausedSince_;
  *this = TimeLeftEstimator();
  pipeline_ = pipeline;
  duration_ = duration;
  pausedSince_ = pausedSince;
  if (pipeline.expectedRate > 0 && duration > 0 && nowMs >= 0) {
    expectedLeft_ =
        duration / pipeline.expectedRate * (1 + std::max(0.0, pipeline.laterRuns)) + kCheckSeconds;
    expectedAtMs_ = activeAt(nowMs);
  }
}

void TimeLeftEstimator::SetDuration(double seconds) { duration_ = seconds > 0 ? seconds : -1; }

double TimeLeftEstimator::activeAt(int64_t nowMs) const {
  const int64_t held = pausedSince_ >= 0 ? nowMs - pausedSince_ : 0;
  return static_cast<double>(nowMs - held) - pausedMs_;
}

void TimeLeftEstimator::OnPaused(int64_t nowMs) {
  if (pausedSince_ < 0) pausedSince_ = nowMs;
}

void TimeLeftEstimator::OnResumed(int64_t nowMs) {
  if (pausedSince_ < 0) return;
  pausedMs_ += static_cast<double>(std::max<int64_t>(0, nowMs - pausedSince_));
  pausedSince_ = -1;
}

void TimeLeftEstimator::OnFinishing() { finishing_ = true; }

void TimeLeftEstimator::OnProgress(int64_t nowMs, double mediaSeconds, int64_t frames, int64_t bytes) {
  if (finishing_) return;
  double now = activeAt(nowMs);
  if (lastLineMs_ >= 0) {
    const double gap = now - lastLineMs_;
    if (gap > std::max(kMinSilenceMs, kSilenceFactor * typicalGapMs_)) {
      // Held or asleep in a way nobody told: only a usual gap of it counts.
      pausedMs_ += gap - typicalGapMs_;
      now = activeAt(nowMs);
    } else if (gap > 0) {
      typicalGapMs_ = 0.8 * typicalGapMs_ + 0.2 * gap;
    }
  }
  // Frames tell what went into the encoder even while its own time lags behind.
  double position = mediaSeconds;
  if (pipeline_.frameRate > 0 && frames >= 0) position = std::max(position, frames / pipeline_.frameRate);
  if (!samples_.empty()) position = std::max(position, samples_.back().position);
  samples_.push_back({now, position});
  lastLineMs_ = now;
  const double lag = pipeline_.frameRate > 0 ? pipeline_.delayFrames / pipeline_.frameRate : 0;
  if (steadyFromMs_ < 0 && position > 0 && position >= lag) {
    steadyFromMs_ = now;
    steadyPosition_ = position;
  }
  if (bytes > 0 && position > 0 && duration_ > 0) outputBytes_ = bytes * duration_ / position;
  measure();
}

void TimeLeftEstimator::measure() {
  const Sample last = samples_.back();
  while (samples_.size() > 2 && samples_.front().activeMs < last.activeMs - kMaxWindowMs)
    samples_.pop_front();
  if (steadyFromMs_ < 0 || duration_ <= 0 || last.activeMs - steadyFromMs_ < kSteadyMs) return;
  const double window =
      std::clamp(kWindowShare * (last.activeMs - steadyFromMs_), kMinWindowMs, kMaxWindowMs);
  const double from = std::max(steadyFromMs_, last.activeMs - window);
  const Sample* first = &last;
  for (const Sample& sample : samples_) {
    if (sample.activeMs >= from) {
      first = &sample;
      break;
    }
  }
  const double span = last.activeMs - first->activeMs;
  const double encoded = last.position - first->position;
  const double wholeEncoded = last.position - steadyPosition_;
  // A stalled encoder tells nothing new: the count goes on from the last figure.
  if (span <= 0 || encoded <= 0 || wholeEncoded <= 0) return;
  const double recent = encoded * 1000 / span;
  const double whole = wholeEncoded * 1000 / (last.activeMs - steadyFromMs_);
  rate_ = std::exp((1 - kWholeWeight) * std::log(recent) + kWholeWeight * std::log(whole));
  const double lag = pipeline_.frameRate > 0 ? pipeline_.delayFrames / pipeline_.frameRate : 0;
  const double media = std::max(0.0, duration_ - last.position) + lag * kFlushShare;
  const double rewrite =
      pipeline_.rewritesAtEnd && outputBytes_ > 0 ? outputBytes_ / kRewriteBytesPerSecond : 0;
  // Later runs go through the whole input again, as much slower as the pipeline says.
  const double later = std::max(0.0, pipeline_.laterRuns) * duration_ / rate_;
  leftAtLine_ = media / rate_ + rewrite + later + kCheckSeconds;
}

TimeLeft TimeLeftEstimator::At(int64_t nowMs) const {
  if (finishing_) return TimeLeft::Finishing();
  double left = 0;
  if (leftAtLine_ >= 0) {
    left = leftAtLine_ - (activeAt(nowMs) - lastLineMs_) / 1000;
  } else if (expectedLeft_ >= 0) {
    left = expectedLeft_ - (activeAt(nowMs) - expectedAtMs_) / 1000;
  } else {
    return TimeLeft::Estimating();
  }
  if (left < kFinishingBelow) return TimeLeft::Finishing();
  return TimeLeft::InSeconds(left);
}

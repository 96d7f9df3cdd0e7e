#include "jobs/Job.h"

#include <algorithm>
#include <iostream>
#include <limits>

#include "jobs/EncoderProgressLine.h"
#include "platform/AwakeClock.h"
#include "text/StringUtil.h"

double Job::GetTimeDone() const {
  if (completed_) return GetDuration();
  return done_ / 1000.0;
}

double Job::GetDuration() const {
  const int32_t duration = duration_;
  if (duration == 0) return -1;
  return duration / 1000.0;
}

namespace {
// The window takes a progress above 0.99999 with no time left as the end of a job.
// The encoder's time may pass the duration it printed, so a running job stops
// short of that: only the encoder's end completes a job.
const double kMostProgressWhileRunning = 0.9999;
}  // namespace

double Job::GetProgress() const {
  if (completed_) return 1.0;
  const int32_t duration = duration_;
  if (duration == 0 || duration / 1000.0 <= 0) return -1;
  const double run = std::min(std::max(GetTimeDone() / (duration / 1000.0), 0.0), 1.0);
  const double progress = runBefore_ / 1000.0 + runShare_ / 1000.0 * run;
  return std::min(std::max(progress, 0.0), kMostProgressWhileRunning);
}

double Job::GetEstimateLeftTime() const {
  const TimeLeft left = GetTimeLeft();
  if (left.kind == TimeLeft::Kind::Estimating) return -1;
  std::cout << "Job::GetEstimateLeftTime,leftDuration:" << left.seconds << ",rate:" << GetRecentRate()
            << std::endl;
  return left.seconds;
}

TimeLeftEstimator& Job::estimatorLocked() {
  if (!estimator_) estimator_ = std::make_unique<TimeLeftEstimator>();
  return *estimator_;
}

const TimeLeftEstimator& Job::estimatorLocked() const {
  // What a job that never ran reads, shared by all of them.
  static const TimeLeftEstimator kNeverRan;
  return estimator_ ? *estimator_ : kNeverRan;
}

TimeLeft Job::GetTimeLeft() const { return GetTimeLeftAt(AwakeClock::NowMs()); }

TimeLeft Job::GetTimeLeftAt(int64_t nowMs) const {
  if (completed_) return TimeLeft::InSeconds(0);
  std::lock_guard<std::mutex> guard(estimateLock_);
  return estimatorLocked().At(nowMs);
}

double Job::GetRecentRate() const {
  std::lock_guard<std::mutex> guard(estimateLock_);
  return estimatorLocked().Rate();
}

void Job::BeginRun(const TimeLeftEstimator::Pipeline& pipeline) {
  // The duration stays: it may have been given before the run (the input's).
  done_ = 0;
  speed_ = 0;
  sawProgress_ = false;
  std::lock_guard<std::mutex> guard(estimateLock_);
  estimatorLocked().Start(pipeline, AwakeClock::NowMs());
}

void Job::SetRunShare(double before, double share) {
  runBefore_ = ToThousandths(std::clamp(before, 0.0, 1.0));
  runShare_ = ToThousandths(std::clamp(share, 0.0, 1.0));
}

void Job::EncoderEnded() {
  std::lock_guard<std::mutex> guard(estimateLock_);
  estimatorLocked().OnFinishing();
}

void Job::PauseEstimate(int64_t nowMs) {
  std::lock_guard<std::mutex> guard(estimateLock_);
  estimatorLocked().OnPaused(nowMs);
}

void Job::ResumeEstimate(int64_t nowMs) {
  std::lock_guard<std::mutex> guard(estimateLock_);
  estimatorLocked().OnResumed(nowMs);
}

void Job::SetFirstProgressCallback(std::function<void()> callback) { onFirstProgress_ = std::move(callback); }

double Job::GetSpeed() const {
  const int32_t speed = speed_;
  return speed > 0 ? speed / 1000.0 : -1;
}

void Job::SetDuration(double seconds) { duration_ = seconds > 0 ? ToThousandths(seconds) : 0; }

int32_t Job::ToThousandths(double value) {
  const double scaled = value * 1000;
  // Keep absurd values (a corrupt header) from overflowing the field.
  if (!(scaled < std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (!(scaled > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(scaled);
}

void Job::ResetFigures() {
  done_ = 0;
  duration_ = 0;
  start_ = 0;
  speed_ = 0;
  sawProgress_ = false;
  runBefore_ = 0;
  runShare_ = 1000;
  std::lock_guard<std::mutex> guard(estimateLock_);
  if (estimator_) estimator_->Start(TimeLeftEstimator::Pipeline());
}

void Job::HandleOutputLine(const std::string& line) { HandleOutputLine(line, AwakeClock::NowMs()); }

void Job::HandleOutputLine(const std::string& line, int64_t nowMs) {
  if (StringUtil::contains(line, "frame=") && StringUtil::contains(line, "time=")) {
    const double time = EncoderProgressLine::ExtractTime(line);
    if (time > 0) done_ = ToThousandths(time);
    if (StringUtil::contains(line, "speed=")) {
      const double speed = EncoderProgressLine::ExtractSpeed(line);
      if (speed > 0) speed_ = ToThousandths(speed);
    }
    {
      std::lock_guard<std::mutex> guard(estimateLock_);
      // The encoder's closing report comes once everything is encoded and written.
      if (StringUtil::contains(line, "Lsize=")) {
        estimatorLocked().OnFinishing();
      } else {
        estimatorLocked().SetDuration(GetDuration());
        estimatorLocked().OnProgress(nowMs, time, EncoderProgressLine::ExtractFrames(line),
                                     EncoderProgressLine::ExtractSizeBytes(line));
      }
    }
    if (!sawProgress_.exchange(true) && onFirstProgress_) onFirstProgress_();
    return;
  }
  // An MP4's index is being moved to the front: the encoding is over.
  if (StringUtil::contains(line, "Starting second pass")) {
    std::lock_guard<std::mutex> guard(estimateLock_);
    estimatorLocked().OnFinishing();
    return;
  }
  if (StringUtil::contains(line, "start:")) start_ = ToThousandths(EncoderProgressLine::ExtractStart(line));
}

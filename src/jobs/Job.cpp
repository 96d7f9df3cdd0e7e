#include "jobs/Job.h"

#include <algorithm>
#include <iostream>
#include <limits>

#include "jobs/EncoderProgressLine.h"
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
  const double progress = GetTimeDone() / (duration / 1000.0);
  return std::min(std::max(progress, 0.0), kMostProgressWhileRunning);
}

double Job::GetEstimateLeftTime() const {
  const int32_t duration = duration_;
  if (duration == 0 || duration / 1000.0 <= 0) return -1;
  const double speed = speed_ / 1000.0;
  if (speed <= 0) return -1;
  // Past the printed duration nothing is left, rather than a negative time.
  const double left = std::max(duration / 1000.0 - GetTimeDone(), 0.0);
  std::cout << "Job::GetEstimateLeftTime,leftDuration:" << left << ",speed:" << speed << std::endl;
  return left / speed;
}

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
}

void Job::HandleOutputLine(const std::string& line) {
  if (StringUtil::contains(line, "frame=") && StringUtil::contains(line, "time=")) {
    const double time = EncoderProgressLine::ExtractTime(line);
    if (time > 0) done_ = ToThousandths(time);
    if (StringUtil::contains(line, "speed=")) {
      const double speed = EncoderProgressLine::ExtractSpeed(line);
      if (speed > 0) speed_ = ToThousandths(speed);
    }
    return;
  }
  if (StringUtil::contains(line, "start:")) start_ = ToThousandths(EncoderProgressLine::ExtractStart(line));
}

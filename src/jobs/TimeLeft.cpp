#include "jobs/TimeLeft.h"

#include <cmath>

namespace {
std::string twoDigits(long long value) { return (value < 10 ? "0" : "") + std::to_string(value); }
}  // namespace

std::string TimeLeft::Clock(double seconds) {
  // Far beyond any encode (about 11 years), but never an overflow.
  const double bounded = std::isfinite(seconds) ? std::fmin(std::fmax(seconds, 0.0), 3.6e8) : 0.0;
  const long long total = std::llround(bounded);
  const std::string minutesAndSeconds = twoDigits(total / 60 % 60) + ":" + twoDigits(total % 60);
  if (total < 3600) return std::to_string(total / 60) + ":" + twoDigits(total % 60);
  return std::to_string(total / 3600) + ":" + minutesAndSeconds;
}

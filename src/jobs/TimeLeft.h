#pragma once

#include <string>

// A job's time left as the front ends show it: not known yet, a number of seconds,
// or the end of the job (the output being completed and checked), where a count of
// seconds would only stand still.
struct TimeLeft {
  enum class Kind { Estimating, Seconds, Finishing };

  Kind kind = Kind::Estimating;
  double seconds = -1;  // for Seconds only

  static TimeLeft Estimating() { return {}; }
  static TimeLeft Finishing() { return {Kind::Finishing, 0}; }
  static TimeLeft InSeconds(double seconds) { return {Kind::Seconds, seconds}; }

  // Whole seconds as every front end writes them, in every language: "h:mm:ss",
  // "m:ss" below an hour. Rounded to the nearest second; negative reads as 0.
  static std::string Clock(double seconds);
};

#pragma once

#include <optional>
#include <vector>

#include "jobs/JobStatus.h"

// The one figure the title and the task bar show: how far the running jobs are,
// on average.
class OverallProgress {
 public:
  // The progress of each job of a snapshot that runs (starting, encoding or paused); one
  // that has not reported yet counts 0.
  static std::vector<double> runningFractions(const JobsStatus& status);
  // The mean of the fractions (each held to [0, 1]); none when nothing runs.
  static std::optional<double> mean(const std::vector<double>& fractions);
  static std::optional<double> of(const JobsStatus& status) { return mean(runningFractions(status)); }
};

#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The one figure the title and the task bar show: how far the running jobs are,
// on average.
class OverallProgress {
 public:
  using Snapshot = std::map<std::string, std::pair<std::string, std::string>>;

  // The progress of each job of a snapshot (JobID -> time left, progress) that
  // still runs: a number below done; a job that has not reported yet counts 0.
  // Words (queueing, failed, stopped) and finished jobs do not run.
  static std::vector<double> runningFractions(const Snapshot& snapshot);
  // The mean of the fractions (each held to [0, 1]); none when nothing runs.
  static std::optional<double> mean(const std::vector<double>& fractions);
  static std::optional<double> ofSnapshot(const Snapshot& snapshot) {
    return mean(runningFractions(snapshot));
  }
};

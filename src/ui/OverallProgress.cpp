#include "ui/OverallProgress.h"

#include <algorithm>

std::vector<double> OverallProgress::runningFractions(const JobsStatus& status) {
  std::vector<double> fractions;
  for (const JobStatus& job : status) {
    if (job.state == JobState::Starting || job.state == JobState::Encoding || job.state == JobState::Paused)
      fractions.push_back(std::max(job.progress, 0.0));
  }
  return fractions;
}

std::optional<double> OverallProgress::mean(const std::vector<double>& fractions) {
  if (fractions.empty()) return std::nullopt;
  double sum = 0;
  for (const double fraction : fractions) sum += std::clamp(fraction, 0.0, 1.0);
  return sum / static_cast<double>(fractions.size());
}

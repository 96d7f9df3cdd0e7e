#include "ui/OverallProgress.h"

#include <algorithm>

#include "ui/JobRowTexts.h"

std::vector<double> OverallProgress::runningFractions(const Snapshot& snapshot) {
  std::vector<double> fractions;
  for (const auto& [jobID, texts] : snapshot) {
    double left = 0;
    double progress = 0;
    if (!JobRowTexts::readNumber(texts.second, &progress)) continue;
    // The same test the window uses to move a job to Completed.
    const bool leftKnown = JobRowTexts::readNumber(texts.first, &left);
    if (progress > 0.99999 && leftKnown && left < 0.00001) continue;
    fractions.push_back(std::max(progress, 0.0));
  }
  return fractions;
}

std::optional<double> OverallProgress::mean(const std::vector<double>& fractions) {
  if (fractions.empty()) return std::nullopt;
  double sum = 0;
  for (const double fraction : fractions) sum += std::clamp(fraction, 0.0, 1.0);
  return sum / static_cast<double>(fractions.size());
}

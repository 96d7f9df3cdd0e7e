#pragma once

#include <optional>

#include "jobs/JobStatus.h"

// How long the whole queue still takes: the running jobs' time left, and the
// waiting jobs' input at the rate the running jobs encode now.
class QueueTimeLeft {
 public:
  // Seconds; none unless a job waits and every figure it needs is known (each
  // running job's estimate and rate, each waiting job's duration), nor while a job
  // is paused.
  static std::optional<double> Of(const JobsStatus& status);
};

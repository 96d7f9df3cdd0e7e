#pragma once

#include <map>
#include <string>
#include <utility>

#include "jobs/JobStatus.h"

// The progress snapshot as text: a compact JSON object from JobID to the time-left
// text and the progress text joined by "|" ("37.500000|0.250000"; a waiting job
// "queueing|queueing", a failed one "Failed|Failed", both translated). Made from the
// typed snapshot; jobs another process owns are not in it.
class ProgressSnapshotText {
 public:
  static std::string Write(const JobsStatus& status);
  // JobID -> (time-left text, progress text); members without "|" are ignored.
  static std::map<std::string, std::pair<std::string, std::string>> Read(const std::string& snapshot);
};

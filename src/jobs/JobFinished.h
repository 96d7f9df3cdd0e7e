#pragma once

#include <string>
#include <vector>

#include "jobs/JobState.h"

// The end of one run of a job: sent once, when the job reaches Completed, Failed or
// Stopped (here, or in another Kovadle process that has let the job go).
struct JobFinished {
  std::string jobID;
  JobState outcome = JobState::Stopped;
  std::string inputFile;
  std::string outputFile;
  // Why it failed, in one line (the encoder's first error line or our own text);
  // empty unless it failed.
  std::string reason;
  // The encoder's error lines, most telling first.
  std::vector<std::string> errorLines;
};

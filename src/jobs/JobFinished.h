#pragma once

#include <string>
#include <vector>

#include "jobs/JobReason.h"
#include "jobs/JobState.h"

// The end of one run of a job: sent once, when the job reaches Completed, Failed or
// Stopped here. Also sent when another Kovadle process lets a job go: the outcome is
// then the state its job file records (Idle or Deleted too).
struct JobFinished {
  std::string jobID;
  JobState outcome = JobState::Stopped;
  std::string inputFile;
  std::string outputFile;
  // Why it failed, in one line (the encoder's first error line or our own text);
  // empty unless it failed.
  std::string reason;
  // Our own reason as a code, for the front end to say in its language; empty when
  // the encoder's line (reason) says why.
  JobReason why;
  // The encoder's error lines, most telling first.
  std::vector<std::string> errorLines;
};

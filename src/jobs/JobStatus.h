#pragma once

#include <string>
#include <vector>

#include "jobs/JobState.h"

// One job as the progress publisher reports it to the front ends once a cycle.
struct JobStatus {
  std::string jobID;
  JobState state = JobState::Idle;
  double progress = -1;  // 0 to 1; -1 while unknown
  double timeLeft = -1;  // seconds; -1 while unknown
  double speed = -1;     // encoder speed factor; -1 while unknown
};

using JobsStatus = std::vector<JobStatus>;

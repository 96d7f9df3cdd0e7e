#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jobs/JobState.h"
#include "jobs/TimeLeft.h"

// One job as the progress publisher reports it to the front ends once a cycle.
struct JobStatus {
  std::string jobID;
  JobState state = JobState::Idle;
  double progress = -1;                                  // 0 to 1; -1 while unknown
  double timeLeft = -1;                                  // seconds; -1 while unknown, 0 while finishing
  TimeLeft::Kind leftKind = TimeLeft::Kind::Estimating;  // what timeLeft stands for
  double speed = -1;                                     // encoder speed factor; -1 while unknown
  double rate = -1;      // media seconds encoded per second lately; -1 while unknown
  double duration = -1;  // the input's seconds; -1 while unknown
  // A job fitting a size whose first output came out over it: the size, and that
  // output's bytes while it is made again at a lower rate; both 0 otherwise.
  int64_t targetBytes = 0;
  int64_t oversizedBytes = 0;
};

using JobsStatus = std::vector<JobStatus>;

#include "jobs/JobState.h"

#include <initializer_list>

namespace {

bool oneOf(JobState state, std::initializer_list<JobState> states) {
  for (JobState candidate : states) {
    if (candidate == state) return true;
  }
  return false;
}

}  // namespace

bool JobStateRules::CanMove(JobState from, JobState to) {
  using S = JobState;
  switch (from) {
    case S::Idle:
    case S::Stopped:
    case S::Completed:
    case S::Failed:
      return oneOf(to, {S::Waiting, S::Starting, S::Deleted, S::Elsewhere});
    case S::Waiting:
      // A waiting job is stopped without an encoder, or fails when it cannot start.
      return oneOf(to, {S::Starting, S::Stopped, S::Failed});
    case S::Starting:
      return oneOf(to, {S::Encoding, S::Stopped, S::Failed});
    case S::Encoding:
      return oneOf(to, {S::Paused, S::Stopping, S::Completed, S::Failed});
    case S::Paused:
      // Resumed or stopped; or its encoder ended all the same (killed from outside,
      // or done the moment it was held) and the run ends as it would have.
      return oneOf(to, {S::Encoding, S::Stopping, S::Completed, S::Failed});
    case S::Stopping:
      return to == S::Stopped;
    case S::Deleted:
      // Run again, or restored to the table it came from.
      return oneOf(to, {S::Waiting, S::Starting, S::Idle, S::Stopped, S::Completed, S::Failed, S::Elsewhere});
    case S::Elsewhere:
      // The other process let go: the job takes the state its file now records.
      return oneOf(to, {S::Idle, S::Stopped, S::Completed, S::Failed, S::Deleted});
  }
  return false;
}

std::string JobStateRules::Name(JobState state) {
  switch (state) {
    case JobState::Idle:
      return "idle";
    case JobState::Waiting:
      return "waiting";
    case JobState::Starting:
      return "starting";
    case JobState::Encoding:
      return "encoding";
    case JobState::Paused:
      return "paused";
    case JobState::Stopping:
      return "stopping";
    case JobState::Stopped:
      return "stopped";
    case JobState::Completed:
      return "completed";
    case JobState::Failed:
      return "failed";
    case JobState::Deleted:
      return "deleted";
    case JobState::Elsewhere:
      return "elsewhere";
  }
  return "unknown";
}

bool JobStateRules::IsActive(JobState state) {
  return oneOf(state, {JobState::Waiting, JobState::Starting, JobState::Encoding, JobState::Paused,
                       JobState::Stopping});
}

bool JobStateRules::IsFinal(JobState state) {
  return oneOf(state, {JobState::Stopped, JobState::Completed, JobState::Failed});
}

JobState JobStateRules::OfRecord(bool completed, bool deleted, bool stopped, const std::string& outcome) {
  if (deleted) return JobState::Deleted;
  if (completed) return JobState::Completed;
  if (outcome == "failed") return JobState::Failed;
  if (stopped) return JobState::Stopped;
  return JobState::Idle;
}

JobTab JobStateRules::TabOf(JobState recorded) {
  if (recorded == JobState::Deleted) return JobTab::RecycleBin;
  if (recorded == JobState::Completed) return JobTab::Completed;
  return JobTab::Transcoding;
}

std::string JobStateRules::TabName(JobTab tab) {
  switch (tab) {
    case JobTab::Transcoding:
      return "Transcoding";
    case JobTab::Completed:
      return "Completed";
    case JobTab::RecycleBin:
      return "RecycleBin";
  }
  return "Transcoding";
}

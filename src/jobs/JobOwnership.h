#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "jobs/JobState.h"
#include "platform/FileOutcome.h"

// The right of one process to run or change a job. The window and kovadle-cli
// share the job-file folder, so each job has a lock file there ("<JobID>.lock")
// that the process queueing, running or changing the job holds. The file names its
// holder as QLockFile does (pid, program, host, machine and boot ids, a line each)
// and then what the holder does with the job, so that every Kovadle process can
// count the run slots taken on the machine.
//
// A lock is believed only when it is a regular file naming a live process of this
// user, on this host and boot, running the program it names: a lock never ages
// while its owner lives. Anything else there (a dead owner's lock, a link, a
// folder, a pipe, garbage, an empty or NUL-filled file) is stale, and is replaced:
// removed under a short-lived "<JobID>.lock.rmlock" that orders the processes
// doing so, then made anew whole in one step. Lock files are read without following
// links and without waiting on a pipe, and checking a lock never takes it.
class JobOwnership {
 public:
  // What a lock file says of its holder.
  struct Holder {
    bool live = false;  // believed: a live process holds the job
    int64_t pid = -1;
    // Waiting, Encoding (starting too), Paused or Stopping while the holder runs the job;
    // Elsewhere while it holds it for a change.
    JobState state = JobState::Elsewhere;
    int64_t waitingSince = 0;  // ms since the epoch, for a waiting job
    std::string stale;         // why a lock there is not believed; "" when believed or none
  };

  JobOwnership(const std::string& folder, const std::string& jobID);
  ~JobOwnership();
  JobOwnership(const JobOwnership&) = delete;
  JobOwnership& operator=(const JobOwnership&) = delete;

  // True when this object holds the lock now (taken now or before), also when the
  // folder cannot take a lock file at all; false when a live process holds it.
  bool Take();
  void Release();
  bool IsHeld() const;
  // Writes what this holder does with the job now (Waiting, Starting, Encoding,
  // Paused, Stopping; any other state: nothing), for the other processes to count.
  void SetState(JobState state, int64_t waitingSince = 0);

  // True when a live process other than this object holds the job's lock. Only
  // reads the lock: an owner taking it just now is not disturbed.
  static bool IsHeldElsewhere(const std::string& folder, const std::string& jobID);
  static Holder ReadHolder(const std::string& folder, const std::string& jobID);
  static std::string LockPath(const std::string& folder, const std::string& jobID);

 private:
  // Makes the lock file whole in one step; Exists when the name is taken.
  CreateOutcome createLocked(const std::string& content);
  // Removes what stale names from the lock's place, one process at a time.
  bool replaceStaleLocked(const std::string& stale);

  const std::string folder_;
  const std::string jobID_;
  const std::string path_;
  mutable std::mutex lock_;
  bool held_ = false;    // under lock_
  bool locked_ = false;  // under lock_: the lock file is ours
};

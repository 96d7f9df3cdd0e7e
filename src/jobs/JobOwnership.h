#pragma once

#include <memory>
#include <mutex>
#include <string>

class QLockFile;

// The right of one process to run or change a job. The window and kovadle-cli
// share the job-file folder, so each job has a lock file there ("<JobID>.lock")
// that the process queueing, running or changing the job holds. A lock left by a
// process that died is stale and taken over; a live owner's lock never ages out.
class JobOwnership {
 public:
  JobOwnership(const std::string& folder, const std::string& jobID);
  ~JobOwnership();
  JobOwnership(const JobOwnership&) = delete;
  JobOwnership& operator=(const JobOwnership&) = delete;

  // True when this object holds the lock now (taken now or before), also when the
  // folder cannot take a lock file at all; false when a live process holds it.
  bool Take();
  void Release();
  bool IsHeld() const;

  // True when a live process other than this object holds the job's lock. Cheap
  // when no lock file exists, which is the usual case.
  static bool IsHeldElsewhere(const std::string& folder, const std::string& jobID);
  static std::string LockPath(const std::string& folder, const std::string& jobID);

 private:
  const std::string path_;
  mutable std::mutex lock_;
  std::unique_ptr<QLockFile> file_;  // under lock_
  bool held_ = false;                // under lock_
  bool locked_ = false;              // under lock_: the lock file is ours
};

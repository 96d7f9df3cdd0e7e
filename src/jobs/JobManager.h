#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "jobs/JobFile.h"
#include "jobs/JobV3.h"

// Owns every job of the process and decides when each one runs: a job starts at
// once when no other job executes, otherwise it waits in the queue for the
// progress publisher. Jobs are addressed by JobID.
class JobManager {
 public:
  // The program's one manager. Tests and tools may construct their own.
  static JobManager& GetInstance();

  JobManager() = default;
  ~JobManager();
  JobManager(const JobManager&) = delete;
  JobManager& operator=(const JobManager&) = delete;

  // The only ways to reach the two lists. op is "get" (returns a copy), "add"
  // (appends job) or "remove" (erases the first job with job's JobID); anything
  // else does nothing. Only "get" returns a non-empty list.
  std::vector<JobV3*> OpAllJobs(const std::string& op, JobV3* job);
  std::vector<JobV3*> OpRunningJobs(const std::string& op, JobV3* job);

  // Jobs handed out here stay valid for the manager's whole life, even after a
  // complete deletion (another thread may still hold one from a copied list).
  std::vector<JobV3*> GetAllJobs();
  int GetAllJobCount();
  JobV3* FindJob(const std::string& jobID);

  // Registers a stored job without starting it. Takes ownership of the record.
  JobV3* AddJob(JobFile* jobFile);
  // A newly added video: started at once when nothing executes, else queued with a
  // placeholder output file. Takes ownership of the record.
  JobV3* AddAndRunJob(JobFile* jobFile);
  // Starts or queues an existing job (transcode again).
  void RunJob(const std::string& jobID);
  // Starts the first queued job; the publisher decides when.
  void RunQueuedJob();
  // Takes the job off the run list and stops it: kills its encoder and waits for
  // the encoder thread to end, never for a command being built meanwhile.
  void StopJob(const std::string& jobID);
  // Stops every running or queued job as StopJob does (each record saved as
  // stopped) and returns once their encoder threads have ended. For closing the
  // window and leaving the program, after the progress publisher has stopped.
  void StopAllJobs();
  // Removes a job of the recycle bin for good: its job file, optionally its output.
  // Refused (and logged) while the job runs, waits, starts or stops. The object
  // itself stays until the manager ends, since other threads may still hold it.
  void TotalDelete(const std::string& jobID, bool deleteOutput);

  // Jobs on the run list: executing, queued, or finished but not yet reported.
  int GetRunningJobCount();
  int GetExeJobCount();
  int GetQueueJobCount();

  // The progress snapshot: a compact JSON object from JobID to "time left|progress".
  // Finished jobs (completed or failed) are reported once and then dropped.
  std::string GetJobsProgress();
  // JobID -> (time-left text, progress text); members without "|" are ignored.
  static std::map<std::string, std::pair<std::string, std::string>> ParseJobsProgress(
      const std::string& snapshot);

  // Loads every stored job file, oldest first, and registers each job. Files that
  // cannot be read are skipped and logged. Returns the jobs loaded, in order.
  std::vector<JobV3*> LoadStoredJobs();
  std::vector<JobV3*> LoadStoredJobs(const std::string& folder);

 private:
  // A thread's right to finish starting (or preparing) a job whose command it
  // builds outside the lock. A stop withdraws it.
  struct Claim {
    uint64_t id = 0;
    bool startsNow = false;  // counts as executing: the job starts once its command is built
  };

  // Jobs of the run list with the given flag set; prints the label and the count.
  int countRunning(bool (JobV3::*flag)() const, const char* label);
  // Jobs executing or about to, for the run decision. Under controlLock_.
  int executingLocked();
  bool isBusyLocked(JobV3* job);
  uint64_t claimLocked(JobV3* job, bool startsNow);
  // Builds the command outside the lock, then, if the claim still holds, stores it
  // and (for a start) runs the job.
  void finishClaim(JobV3* job, uint64_t claimID, bool start);
  void queue(JobV3* job);
  static void writePlaceholder(const std::string& path);

  std::vector<JobV3*> runningjobs_;
  std::vector<JobV3*> alljobs_;
  std::mutex alljobsLock_;
  std::mutex runningjobsLock_;
  // Covers each decision (start, queue, stop, delete, report) and nothing that
  // blocks: commands are built and encoder threads awaited outside it.
  std::mutex controlLock_;
  std::map<JobV3*, Claim> claims_;  // under controlLock_
  uint64_t lastClaimID_ = 0;        // under controlLock_
  // Completely deleted jobs: a copy of a list taken just before may still point
  // at them, so they are freed only with the manager.
  std::vector<JobV3*> retired_;  // under controlLock_
};

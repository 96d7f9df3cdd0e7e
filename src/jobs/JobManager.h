#pragma once

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
  // Takes the job off the run list and stops it (waits for its encoder to end).
  void StopJob(const std::string& jobID);
  // Removes a job of the recycle bin for good: its job file, optionally its output.
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
  // Jobs of the run list with the given flag set; prints the label and the count.
  int countRunning(bool (JobV3::*flag)() const, const char* label);
  void generateCmdIfNeeded(JobV3* job);
  void queue(JobV3* job);
  static void writePlaceholder(const std::string& path);

  std::vector<JobV3*> runningjobs_;
  std::vector<JobV3*> alljobs_;
  std::mutex alljobsLock_;
  std::mutex runningjobsLock_;
  // Makes "nothing executes, so start it" one step, and keeps a job from being
  // started, stopped, reported or destroyed by two threads at once.
  std::mutex controlLock_;
};

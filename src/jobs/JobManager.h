#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "jobs/JobFile.h"
#include "jobs/JobFinished.h"
#include "jobs/JobStatus.h"
#include "jobs/JobV3.h"
#include "jobs/TotalDeletion.h"

// Owns every job of the process and decides when each one runs. The run slots are
// the machine's, shared by every Kovadle process of the user (each job's lock file
// tells what its holder does with it): a job starts at once when no Kovadle job
// encodes and none waits; otherwise it waits in the queue for the progress
// publisher, which starts the oldest waiting job of all as soon as none encodes, and
// another one beside a running one while the processor has room. While a Kovadle job
// is paused, no waiting job starts (nor a new one: it waits). A job runs or
// changes only while this process owns it (see JobOwnership): one that another
// Kovadle process owns is shown as such and refused. Jobs are addressed by JobID.
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

  // Registers a stored job without starting it. Takes ownership of the record. A job
  // another process owns is shown as Elsewhere until it lets go; the leftovers of a
  // run cut short by a kill (its partial output, its reservation) are removed.
  JobV3* AddJob(JobFile* jobFile);
  // A newly added video: started at once when nothing of ours encodes and nothing
  // waits, else queued behind the waiting jobs. Takes ownership of the record.
  JobV3* AddAndRunJob(JobFile* jobFile);
  // Starts or queues an existing job (transcode again). False when there is no such
  // job, it is already running or waiting, or another process owns it.
  bool RunJob(const std::string& jobID);
  // Starts the oldest waiting job; the publisher decides when.
  void RunQueuedJob();
  // Takes the job off the run list and stops it without waiting for its encoder:
  // the job reads Stopping until the encoder has ended. False when there was
  // nothing to stop (or another process owns the job).
  bool StopJob(const std::string& jobID);
  // Holds a job's encoder until ResumeJob (JobV3::Pause), or lets it go on. False
  // when there is no such job, another process owns it, or its state does not allow it.
  bool PauseJob(const std::string& jobID);
  bool ResumeJob(const std::string& jobID);
  // Every job of ours that encodes or is starting / every paused one: how many changed.
  int PauseAllJobs();
  int ResumeAllJobs();
  // Stops every running or waiting job as StopJob does and waits up to waitMs for
  // their encoders to end. An encoder that does not end in time is left to die with
  // the program; its job is recorded as stopped all the same. False when one did not
  // end. For closing the window and leaving the program, after the publisher stopped.
  bool StopAllJobs(int waitMs = 15000);
  // Moves a job that is not active to the recycle bin, or brings one back to the
  // state it had before (its table). False when another process owns it now (it is
  // then shown as such) or its state does not allow the move.
  bool MoveToRecycleBin(const std::string& jobID);
  bool RestoreFromRecycleBin(const std::string& jobID);
  // Removes a job of the recycle bin for good: its job file and, as asked, its output
  // file, which goes only when it is still the very file the job made and no other
  // job names it (OutputFateOf tells beforehand). Refused (and logged) when the job
  // is not in the recycle bin or another process owns it. The object itself stays
  // until the manager ends.
  TotalDeletion TotalDelete(const std::string& jobID, OutputDisposal output);
  // The same; an output asked to go goes to the trash.
  TotalDeletion TotalDelete(const std::string& jobID, bool deleteOutput);
  // What a complete deletion asked to take the output would do with it: Deletable,
  // Missing, Shared or NotMadeHere.
  OutputFate OutputFateOf(const std::string& jobID);
  // Deletes for good the output a deletion could not move to the trash, if it is
  // still the file the job made. True when it is gone.
  bool RemoveOutput(const TotalDeletion& deletion);

  // Jobs on the run list: active, or finished but not yet reported.
  int GetRunningJobCount();
  // Started jobs (starting, encoding or stopping) and waiting ones; both print.
  int GetExeJobCount();
  int GetQueueJobCount();
  // Jobs starting or encoding: the run decisions count these.
  int GetEncodingJobCount();
  // Our jobs paused now.
  int GetPausedJobCount();
  // A paused job, ours or (as last counted) another Kovadle process's, holds every
  // waiting job: a pause is there to give the processor back.
  bool IsQueueHeld();

  // The jobs other live Kovadle processes run now (not those this manager holds),
  // as their lock files tell.
  struct JobsElsewhere {
    int encoding = 0;  // starting or encoding
    int waiting = 0;
    int stopping = 0;
    int paused = 0;
    int64_t oldestWaitingSince = 0;  // ms since the epoch; 0 when none waits
    int Active() const { return encoding + waiting + stopping + paused; }
  };
  // Reads the lock files now; the answer is kept for GetJobsElsewhere.
  JobsElsewhere CountJobsElsewhere();
  // The last count (the publisher counts once a cycle): cheap, for the interface.
  JobsElsewhere GetJobsElsewhere();
  // None of ours waits, or ours has waited at least as long as any other process's.
  bool OursWaitedLongest(const JobsElsewhere& others);

  // The typed snapshot of the run list (finished jobs once, then dropped) and of the
  // jobs another process owns.
  JobsStatus GetJobsStatus();
  // The progress snapshot text, made from the same typed snapshot: a compact JSON
  // object from JobID to "time left|progress" of the run list.
  std::string GetJobsProgress();
  static std::string JobsProgressText(const JobsStatus& status);
  // JobID -> (time-left text, progress text); members without "|" are ignored.
  static std::map<std::string, std::pair<std::string, std::string>> ParseJobsProgress(
      const std::string& snapshot);

  // The runs that ended since the last call, in the order they ended.
  std::vector<JobFinished> TakeFinishedJobs();
  // The first job-file write that failed, as "folder: reason", once per manager;
  // false when there is none (or it was taken already).
  bool TakeSaveFailure(std::string* message);
  // Writes the job files whose last save failed; returns how many are still unsaved.
  int RetryUnsavedJobs();
  // Jobs another process owned: those it has let go take the state their file records.
  void PollElsewhere();
  // Called (from any thread) when a run ends or a job waits, so the publisher can
  // act at once instead of at its next cycle.
  void SetWakeup(std::function<void()> wakeup);

  // Loads every stored job file, oldest first, and registers each job. Files that
  // cannot be read are skipped and logged. Returns the jobs loaded, in order.
  std::vector<JobV3*> LoadStoredJobs();
  std::vector<JobV3*> LoadStoredJobs(const std::string& folder);
  // The job-file folder the stored jobs come from: other processes' jobs are counted
  // there, and jobs they added since are looked for there.
  void SetJobFolder(const std::string& folder);
  // What earlier versions left under the output names of stored unfinished jobs,
  // where no completed job (finishedOutputs) has its output. Once the stored jobs are
  // taken up, before any of them can run.
  void RemoveOldPlaceholders(const std::vector<JobV3*>& unfinished,
                             const std::set<std::string>& finishedOutputs);

 private:
  JobV3* wrap(JobFile* jobFile);
  // The first job taken up with that JobID. Under alljobsLock_.
  JobV3* findLocked(const std::string& jobID);
  // A job this process could not take: another one owns it. Under controlLock_.
  void markElsewhereLocked(JobV3* job);
  bool setDeleted(const std::string& jobID, bool deleted);
  // Under controlLock_.
  int encodingLocked();
  bool anyWaitingLocked();
  int pausedLocked();
  // Moves the job to Starting when no Kovadle job encodes, none is paused and none
  // waits before it (a new video never starts ahead of the videos already waiting),
  // else to Waiting.
  // False when the job cannot move; *generation is the start to finish, 0 when queued.
  bool startOrQueueLocked(JobV3* job, const JobsElsewhere& others, uint64_t* generation);
  // What a run cut short left of the job, taken away unless another process holds it.
  void removeLeftovers(JobFile* record);
  // Another job, loaded or only stored in the folder, names this output.
  bool outputNamedByAnother(const std::string& jobID, const std::string& output);
  OutputFate outputFate(JobV3* job, bool shared);
  std::string jobFolder();
  // Outside the lock: finishes the start a generation names, or wakes the queue.
  void finishStartOrWake(JobV3* job, uint64_t generation);
  // Builds the command and the output's reservation outside the lock, then starts the
  // job if it is still the start that generation names.
  void finishStart(JobV3* job, uint64_t generation);
  void onFinished(const JobFinished& finished);
  void onSaveFailed(const std::string& folder, const std::string& reason);
  void wake();

  std::vector<JobV3*> runningjobs_;
  std::vector<JobV3*> alljobs_;
  // alljobs_ by the hash of their JobID: a lookup must not search tens of thousands.
  std::unordered_multimap<std::size_t, JobV3*> alljobsByID_;  // under alljobsLock_
  std::mutex alljobsLock_;
  std::mutex runningjobsLock_;
  // Covers each decision (start, queue, stop, delete, report) and nothing that
  // blocks: commands are built and encoders awaited outside it.
  std::mutex controlLock_;
  std::vector<JobV3*> elsewhere_;  // under controlLock_
  // Completely deleted jobs: a copy of a list taken just before may still point
  // at them, so they are freed only with the manager.
  std::vector<JobV3*> retired_;  // under controlLock_
  // Jobs whose encoder did not end when the program left: never freed.
  std::set<JobV3*> abandoned_;  // under controlLock_

  std::mutex eventsLock_;
  std::vector<JobFinished> finished_;  // under eventsLock_
  std::string saveFailure_;            // under eventsLock_
  bool saveFailureTaken_ = false;      // under eventsLock_
  std::mutex wakeupLock_;
  std::function<void()> wakeup_;  // under wakeupLock_
  std::mutex elsewhereLock_;
  JobsElsewhere elsewhereCount_;  // under elsewhereLock_
  std::string folder_;            // under elsewhereLock_: the job-file folder loaded last
};

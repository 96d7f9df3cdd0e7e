#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "jobs/JobFinished.h"
#include "jobs/JobPlan.h"
#include "jobs/JobState.h"
#include "jobs/JobStatus.h"
#include "jobs/JobView.h"
#include "jobs/PreparedInput.h"
#include "jobs/TotalDeletion.h"

class JobManager;
class StoredJobLoader;
class UpdateGUIThread;

// JobIDs, in the order the call or signal handing them out says.
using JobIDs = std::vector<std::string>;

// Everything a front end (the window, kovadle-cli) does with jobs, and all it learns
// of them: the add chain (prepare an input, add it with its plan), the actions on a
// job, typed views, the publisher's events, and the way out of the program. Jobs are
// addressed by JobID. Works on the thread it was made on; the events arrive there.
class JobEngine : public QObject {
  Q_OBJECT

 public:
  // How an action on a job went.
  enum class Result {
    Done,
    NoSuchJob,
    Elsewhere,   // another Kovadle process holds the job: nothing was changed
    NotAllowed,  // the job's state does not allow it (running, not in the recycle bin, ...)
  };

  // The end of the add chain: a job, or why there is none.
  struct Added {
    enum class Problem {
      None,
      Refused,  // the input was refused (PreparedInput::refusal)
      Quality,  // the plan's quality is not on the input's ladder
      Size,     // the plan's size cannot be made of the input (smallestBytes says the least)
      Output,   // the output file cannot be created
      JobFile,  // the job file cannot be written
    };
    Problem problem = Problem::None;
    JobView job;         // the new job, when there is one
    std::string path;    // the output or job-file folder that failed
    std::string reason;  // the system's reason
    // Size: the smallest size the input can be made in; 0 when its length is not
    // known, so no size can be planned.
    int64_t smallestBytes = 0;
    bool Ok() const { return problem == Problem::None; }
  };

  // How long leaving the program waits for the encoders it stopped.
  static constexpr int kExitWaitMs = 15000;

  // Over the program's one job manager.
  explicit JobEngine(QObject* parent = nullptr);
  // Over a manager of its own (tests and benchmarks keep theirs apart).
  explicit JobEngine(JobManager& manager, QObject* parent = nullptr);
  // Stops publishing first.
  ~JobEngine() override;
  JobEngine(const JobEngine&) = delete;
  JobEngine& operator=(const JobEngine&) = delete;

  // --- Adding a video: probe, refusal, ladder, output name, job ----------------------
  // The file name patterns of the files offered and taken as videos ("*.mp4", ...).
  static const std::vector<std::string>& VideoFilePatterns();
  // Probes the input (up to a minute unless the probe cache has it) and judges it.
  static PreparedInput Prepare(const std::string& inputPath);
  // The output name a new job of the input would get in the folder now: the first
  // free "name_output.ext", "name_output_2.ext", ...
  static std::string ProposedOutput(const std::string& inputPath, const std::string& folder,
                                    const std::string& format);
  // Reserves the output's name (the next free one when the proposed name was taken
  // meanwhile), writes the job file and starts the job, or queues it behind the
  // waiting ones. Nothing is left behind when it fails. A plan with a size takes the
  // quality row the size buys (SizePlan); one it cannot buy is refused.
  Added Add(const PreparedInput& input, const JobPlan& plan);

  // --- Stored jobs ----------------------------------------------------------------
  // Takes up every stored job, oldest first, cleaning what killed runs left behind.
  std::vector<JobView> LoadStoredJobs();
  // The same on a thread of its own, returning at once: the jobs arrive part by part
  // as storedJobsTaken, those of the Transcoding table first, each part oldest
  // first, every job known to the engine when it arrives; storedJobsLoaded ends it.
  void StartLoadingStoredJobs();
  // From StartLoadingStoredJobs until storedJobsLoaded has been sent.
  bool LoadingStoredJobs() const { return loading_; }
  // Only reads the stored jobs, oldest first, changing nothing (another Kovadle may
  // be working on them): a job a live process holds reads Elsewhere. Files that
  // cannot be read are listed in skipped as (path, reason).
  static std::vector<JobView> ReadStoredJobs(std::vector<std::pair<std::string, std::string>>* skipped);

  // --- Actions --------------------------------------------------------------------
  // Runs a job that is not running again (started or queued as a new one is).
  Result Start(const std::string& jobID);
  // Returns at once: a job whose encoder has not ended yet reads Stopping.
  Result Stop(const std::string& jobID);
  // Holds a running job's encoder (it reads Paused) until Resume; the time it is held
  // counts for nothing in its time left. While any Kovadle job is paused no waiting
  // job starts. Stop works on a paused job as on a running one.
  Result Pause(const std::string& jobID);
  Result Resume(const std::string& jobID);
  // Every running (or starting) job / every paused job: Done when at least one was.
  Result PauseAll();
  Result ResumeAll();
  // To the recycle bin, and back to the state it had.
  Result Delete(const std::string& jobID);
  Result Restore(const std::string& jobID);
  // A job of the recycle bin for good: its job file, and its output when asked.
  Result DeleteCompletely(const std::string& jobID, bool withOutput);
  // The same, telling what became of the output: only the file the job made goes,
  // to the trash (or for good) as asked; anything else stays, and the answer says why.
  TotalDeletion DeleteCompletely(const std::string& jobID, OutputDisposal output);
  // What deleting the job for good would do with its output file, asked beforehand.
  OutputFate OutputFateOf(const std::string& jobID);
  // Deletes for good an output the trash refused (after the user said so).
  bool RemoveOutput(const TotalDeletion& deletion);

  // --- Views ----------------------------------------------------------------------
  std::optional<JobView> View(const std::string& jobID) const;
  // Every job, in the order they were taken up or added.
  std::vector<JobView> Views() const;
  // The states of the jobs named, in one pass; unknown jobs are left out.
  std::unordered_map<std::string, JobState> StatesOf(const std::vector<std::string>& jobIDs) const;
  // Jobs the snapshots still list: active ones and ended ones not yet reported.
  int ListedJobCount() const;
  // Jobs that hold a run slot or wait for one.
  int ActiveJobCount() const;
  // Jobs whose encoder may still live (starting, encoding, paused or stopping).
  int LiveEncoderCount() const;
  // Jobs paused now, and jobs PauseAll would pause now (starting or encoding).
  int PausedJobCount() const;
  int PausableJobCount() const;
  // A paused job here, or (as last counted) in another Kovadle process, holds the
  // waiting jobs.
  bool QueueHeld() const;
  // Jobs that keep the machine busy or are about to, here and in other Kovadle
  // processes: neither paused ones nor those waiting behind a pause count, so an idle
  // machine may sleep while the queue is paused.
  int BusyJobCount() const;
  // Jobs other live Kovadle processes (kovadle-cli, another window) run or queue now,
  // as last counted (about once a second while publishing).
  int ActiveJobsElsewhere() const;

  // --- Events -----------------------------------------------------------------------
  // Starts the progress publisher: once a second the snapshot and the runs that
  // ended arrive as the signals below, and waiting jobs start when there is room.
  // Without it no waiting job starts.
  void StartPublishing();
  // Stops it and returns once it has ended; no waiting job starts after this.
  void StopPublishing();
  // The progress snapshot text of a snapshot: JobID -> "time left|progress".
  static std::string ProgressText(const JobsStatus& status);
  // Seconds the whole queue still takes (the running jobs' time left, the waiting
  // jobs' input at the running jobs' rate); none unless a job waits and every figure
  // it needs is known.
  static std::optional<double> QueueTimeLeft(const JobsStatus& status);

  // --- Leaving ----------------------------------------------------------------------
  // The one way out of a program that ran jobs: publishing stops, every job is
  // stopped and recorded as such, and their encoders are awaited at most waitMs.
  // True when every encoder ended.
  bool StopForExit(int waitMs = kExitWaitMs);
  // After StopForExit: returns code when every encoder ended; otherwise ends the
  // program at once with code, without tearing down what the thread of an encoder
  // that did not end still uses (that encoder dies with the program).
  int Leave(int code);

 signals:
  void jobsStatus(JobsStatus status);
  void jobFinished(JobFinished finished);
  // A job file could not be written: "folder: reason", once per program run.
  void saveFailed(QString message);
  void progressSnapshot(QString text);
  void storedJobsTaken(JobIDs jobIDs);
  void storedJobsLoaded();

 private:
  // The outcome of a refused action: the job is gone, held elsewhere, or not allowed.
  Result refusal(const std::string& jobID) const;

  JobManager& manager_;
  std::unique_ptr<UpdateGUIThread> publisher_;
  std::unique_ptr<StoredJobLoader> loader_;
  bool loading_ = false;
  bool stuck_ = false;
};

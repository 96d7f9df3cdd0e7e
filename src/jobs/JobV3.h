#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "jobs/EncoderOutcome.h"
#include "jobs/Job.h"
#include "jobs/JobFile.h"
#include "jobs/JobFinished.h"
#include "jobs/JobState.h"
#include "planning/EncoderRuns.h"
#include "process/CommandLine.h"
#include "process/ProcessHold.h"

class EncoderErrorLines;
class ExclusiveFile;

// One transcoding job in motion: owns its record, runs the encoder on a thread of
// its own, follows its progress and stops it on request. Its state changes only
// through MoveTo, which refuses (and logs) a change the rules do not allow and keeps
// the job file in step. When it runs is decided by the job manager.
class JobV3 : public Job {
 public:
  using FinishedCallback = std::function<void(const JobFinished&)>;
  // A change that could not be written to the job file: the reason.
  using SaveFailedCallback = std::function<void(const std::string& reason)>;

  // Takes ownership of the record; the state follows from what it records.
  explicit JobV3(JobFile* jobFile);
  // Ends a still-running encoder first: its thread must not outlive the job.
  ~JobV3() override;
  JobV3(const JobV3&) = delete;
  JobV3& operator=(const JobV3&) = delete;

  JobFile* GetJobFile() const { return jobFile_.get(); }
  JobState GetState() const { return state_; }

  // How much of a size job's progress its analysis run makes: measured with the
  // presets of the tables, that run takes about a third of the job's time.
  static constexpr double kAnalysisShare = 0.35;

  // Builds the encoder runs from the record's input, output and quality, or size.
  void GenerateFFmpegCmd();
  // The runs GenerateFFmpegCmd would store, without storing them. They may probe
  // the input (up to a minute), so callers make them outside their locks.
  EncoderRuns MakeEncoderRuns() const;
  // The command of the run that writes the output.
  CommandLine MakeFFmpegCmd() const { return MakeEncoderRuns().output; }
  // Uses ready-made runs, or one command line, instead (tools and tests).
  void SetEncoderRuns(const EncoderRuns& runs);
  void SetFFmpegCmd(const CommandLine& command) { SetEncoderRuns(EncoderRuns::Single(command)); }
  bool IsFFmpegCmdGenerated() const { return cmdGenerated_; }
  EncoderRuns GetEncoderRuns() const;
  CommandLine GetFFmpegCmd() const { return GetEncoderRuns().output; }

  // The process id of the encoder running now, whichever run of the job it is;
  // -1 between runs and when none runs.
  int64_t GetPid() const { return pid_; }
  // A first output that came out over the job's size and is being made again: its
  // bytes; 0 otherwise.
  int64_t GetOversizedBytes() const { return oversized_; }
  // Started and its encoder thread not finished (starting, encoding, paused or
  // stopping).
  bool IsRunning() const;
  bool IsQueueing() const { return state_ == JobState::Waiting; }
  bool IsStopped() const { return state_ == JobState::Stopped; }
  bool IsStopping() const { return state_ == JobState::Stopping; }
  bool IsPaused() const { return state_ == JobState::Paused; }
  bool IsFailed() const { return state_ == JobState::Failed; }
  bool IsDeleted() const { return state_ == JobState::Deleted; }
  bool IsElsewhere() const { return state_ == JobState::Elsewhere; }
  // When the job last began to wait, in ms since the epoch (0: it never did).
  int64_t WaitingSince() const { return waitingSince_; }
  // Why the last run failed, in one line; "" when it did not fail.
  std::string GetFailureReason() const { return jobFile_->GetFailureReason(); }

  // To the recycle bin (true), or back to the state its record holds (false). Needs
  // the job's ownership for the moment of the change: false when another process
  // holds the job or its state does not allow the change.
  bool SetIsDeleted(bool value);

  // --- For the job manager ------------------------------------------------------
  // The one way the state changes. Refuses and logs a change the rules forbid.
  bool MoveTo(JobState to);
  // Takes the state the job file records now (another process let the job go).
  bool AdoptStoredState();
  // Called once per run that ends (completed, failed or stopped), on the thread
  // that ended it.
  void SetFinishedCallback(FinishedCallback callback);
  void SetSaveFailedCallback(SaveFailedCallback callback);
  // Writes the record again when an earlier save failed; true when it is on disk.
  bool RetrySave();
  // Counts the moves into Starting, so a start prepared outside a lock can tell
  // whether it still stands.
  uint64_t StartGeneration() const { return startGeneration_; }
  // Holds the output's name for a run: the reservation made with the job, or a new
  // one (the next free name when another file or job has taken it meanwhile, which
  // then becomes the job's output and needs a new command). False with the reason.
  bool PrepareOutput(std::string* error);
  // Gives up the name reserved for a start that did not happen.
  void DiscardUnusedOutput();
  // From Starting: starts the encoder thread (the command must be generated).
  void Run();
  // From Starting or Waiting: the job cannot run; lines say why, and the reason as
  // a code when it is ours.
  bool Fail(const std::vector<std::string>& lines, const JobReason& reason = {});
  // For an encoder that did not end when the program leaves: records the stop in
  // the job file and lets the job go, the state stays as it is.
  void AbandonStop();
  // Ends the job without waiting for its encoder: a waiting or starting job is
  // stopped at once; an encoding one becomes Stopping, its encoder is killed and its
  // thread records the stop. False when there was nothing to stop, or when it is too
  // late: the whole output is taking its name, and the job completes.
  bool Stop();
  // Holds the encoder (suspended) until Resume; the time held is no encoding time,
  // and no encoder run of the job starts meanwhile. A job whose start is being
  // prepared is held as soon as it encodes. False when there is nothing to hold:
  // not encoding, paused already, or too late (the whole output is taking its name).
  bool Pause();
  // Lets a paused job's encoder go on; false when it is not paused.
  bool Resume();
  // Waits up to ms for the encoder thread to finish its work; true when it has.
  bool WaitUntilIdle(int ms);
  // Collects an encoder thread that has finished its work; returns at once otherwise.
  void ReapEncoderThread();

  // Tests only: runs on the encoder thread after the encoder has started and before
  // its process id is known, so a test can stop the job in that moment.
  static void SetEncoderStartedHook(std::function<void()> hook);
  // Tests only: runs on the encoder thread once the output has been found whole,
  // just before the job decides between a stop that came meanwhile and completing
  // (decided false), and again once it has decided to complete (decided true).
  static void SetFinishingHook(std::function<void(bool decided)> hook);

 private:
  // Where the run that makes the output writes: the partial file this job made.
  struct Output;

  void encoderThreadMethod(EncoderRuns runs, std::string logPath);
  // Runs the encoder (every run of the job) and judges its output; true when the
  // job completed. Sets errorLines and reason for a failure; seconds receives the
  // encode's wall time.
  bool encode(const EncoderRuns& runs, const std::string& logPath, std::vector<std::string>* errorLines,
              JobReason* reason, double* seconds);
  // A size's runs: the analysis, the output's run, and once more at a lower rate
  // when the output came out over the size. The analysis log lives as long as this.
  EncoderOutcome::Verdict encodeToSize(const EncoderRuns& runs, const Output& output, std::ofstream& log);
  // Runs one encoder process to its end, its progress fed to the figures; last:
  // the job's last run (its end is the encode's end).
  EncoderOutcome::Run runEncoder(const CommandLine& command, std::ofstream& log, EncoderErrorLines* errors,
                                 bool last);
  // The run that writes the output, and the output it wrote judged (whole, within
  // the size).
  EncoderOutcome::Verdict makeOutput(const CommandLine& command, const Output& output, int64_t targetBytes,
                                     std::ofstream& log);
  // Gives the whole output its final name, trying again a few times; the name it
  // took, or "" with the reason (the partial file then stays, whole).
  std::string takeFinalName(JobReason* reason);
  // Ends the encoder and the probe (a held one is let go first, so it ends and its
  // output drains), and any hold of this run.
  void killEncoder();
  // Encoding to Paused, under stateLock_.
  bool holdLocked();
  // A checked move, under stateLock_: false (and logged) when the rules refuse it.
  bool moveLocked(JobState to, JobFinished* finished);
  // What a move changes on disk (job file, output, ownership); fills finished when a
  // run ends.
  void recordMoveLocked(JobState from, JobState to, JobFinished* finished);
  void saveLocked(bool completed, bool deleted, bool stopped, const std::string& outcome,
                  const std::vector<std::string>& errorLines);
  // What the record says; with inRecycleBin false, where it stands outside the bin.
  JobState storedState(bool inRecycleBin = true) const;
  void announce(const JobFinished& finished);

  std::unique_ptr<JobFile> jobFile_;
  EncoderRuns runs_;  // under stateLock_
  std::string logPath_;
  std::atomic<JobState> state_{JobState::Idle};
  std::atomic<int64_t> pid_{-1};
  std::atomic<int64_t> oversized_{0};
  double inputSeconds_ = -1;           // the encoder thread's: the input's length for this run
  std::atomic<int64_t> probePid_{-1};  // the probe measuring the input before the encoder
  std::atomic<int64_t> waitingSince_{0};
  std::atomic<bool> cmdGenerated_{false};
  std::atomic<bool> threadBusy_{false};
  std::atomic<uint64_t> startGeneration_{0};
  // Holds the encoder of a paused job; no encoder run starts while it holds.
  ProcessHold hold_;
  bool pauseOnStart_ = false;  // under stateLock_: paused while starting
  // The errors a failing run reports with its move to Failed.
  std::vector<std::string> failureLines_;  // under stateLock_
  JobReason failureReason_;                // under stateLock_
  // Wall-clock seconds of the encode that completes.
  double encodeSeconds_ = -1;  // under stateLock_
  // The partial file this run made; the encoder thread reads it without the lock
  // (only that thread replaces it while a run lasts).
  std::unique_ptr<ExclusiveFile> partial_;  // under stateLock_
  bool keepPartial_ = false;                // under stateLock_: a failure that keeps a whole output
  bool committing_ = false;                 // under stateLock_: the output is taking its name
  FinishedCallback onFinished_;             // set before the job is shared
  SaveFailedCallback onSaveFailed_;         // set before the job is shared
  // Keeps the state and the job file in step when several threads change them, and
  // guards the encoder thread's handle. Never held while waiting for the encoder.
  mutable std::mutex stateLock_;
  std::thread encoderThread_;
};

#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "jobs/Job.h"
#include "jobs/JobFile.h"

// One transcoding job in motion: owns its record, runs the encoder on a thread of
// its own, follows its progress and stops it on request. When it runs is decided
// by the job manager.
class JobV3 : public Job {
 public:
  // Takes ownership of the record and copies its flags.
  explicit JobV3(JobFile* jobFile);
  // Ends a still-running encoder first: its thread must not outlive the job.
  ~JobV3() override;
  JobV3(const JobV3&) = delete;
  JobV3& operator=(const JobV3&) = delete;

  JobFile* GetJobFile() const { return jobFile_.get(); }

  // Builds the encoder command from the record's input, output and quality.
  void GenerateFFmpegCmd();
  // The command GenerateFFmpegCmd would store, without storing it. It may probe the
  // input (up to a minute), so callers make it outside their locks.
  std::string MakeFFmpegCmd() const;
  // Uses a ready-made command line instead (tools and tests).
  void SetFFmpegCmd(const std::string& command);
  bool IsFFmpegCmdGenerated() const { return cmdGenerated_; }
  std::string GetFFmpegCmd() const { return command_; }

  int64_t GetPid() const { return pid_; }
  bool IsRunning() const { return running_; }
  bool IsQueueing() const { return queueing_; }
  bool IsStopped() const { return stopped_; }
  bool IsDeleted() const { return deleted_; }
  // A stop has begun and not finished yet.
  bool IsStopping() const { return stopRequested_; }
  // The last run ended without a stop request but the encoder did not succeed
  // (it could not start, or exited with an error). Cleared by the next run.
  bool IsFailed() const { return failed_; }

  void SetIsRunning(bool value) { running_ = value; }
  void SetIsQueueing(bool value) { queueing_ = value; }
  // These write through to the job file when the record's flag differs.
  void SetIsCompleted(bool value);
  void SetIsStopped(bool value);
  void SetIsDeleted(bool value);

  // Starts the encoder thread; the command must be generated already.
  void Run();
  // Kills a running encoder, waits for its thread to end and records the stop.
  // Does nothing when the job is stopped already or another stop is under way.
  void Stop();
  // Stop in two steps, for callers that decide under a lock and wait outside it:
  // BeginStop marks the stop (false: nothing to do), FinishStop does the rest.
  bool BeginStop();
  void FinishStop();
  // Waits for an encoder thread that has finished its work (running is false);
  // returns at once when one still runs or there is none.
  void ReapEncoderThread();

 private:
  void ffmpegThreadMethod(std::string command, std::string logPath);
  // Runs the encoder to its end; false when it failed. Fills the exit code and
  // the last non-empty output line for the log.
  bool runEncoder(const std::string& command, const std::string& logPath, int* exitCode,
                  std::string* lastLine);
  void killEncoder();
  // Joins the encoder thread, whoever else asked for it: after this it has ended.
  void joinEncoderThread();
  // The flag and its write-through, under stateLock_.
  void setCompletedLocked(bool value);
  void setStoppedLocked(bool value);
  void setDeletedLocked(bool value);

  std::unique_ptr<JobFile> jobFile_;
  std::string command_;
  std::string logPath_;
  std::atomic<int64_t> pid_{-1};
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> cmdGenerated_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> queueing_{false};
  std::atomic<bool> stopped_{false};
  std::atomic<bool> deleted_{false};
  std::atomic<bool> failed_{false};
  // Keeps each flag and the job file in step when several threads change them, and
  // guards the encoder thread's handle. Never held while waiting for the encoder.
  std::mutex stateLock_;
  std::thread encoderThread_;
};

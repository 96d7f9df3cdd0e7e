#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "jobs/Job.h"
#include "jobs/JobFile.h"

// One transcoding job in motion: owns its record, runs the encoder on a detached
// thread of its own, follows its progress and stops it on request. When it runs is
// decided by the job manager.
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
  // Uses a ready-made command line instead (tools and tests).
  void SetFFmpegCmd(const std::string& command);
  bool IsFFmpegCmdGenerated() const { return cmdGenerated_; }
  std::string GetFFmpegCmd() const { return command_; }

  int64_t GetPid() const { return pid_; }
  bool IsRunning() const { return running_; }
  bool IsQueueing() const { return queueing_; }
  bool IsStopped() const { return stopped_; }
  bool IsDeleted() const { return deleted_; }
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
  void Stop();

 private:
  void ffmpegThreadMethod(std::string command, std::string logPath);
  // Runs the encoder to its end; false when it failed. Fills the exit code and
  // the last non-empty output line for the log.
  bool runEncoder(const std::string& command, const std::string& logPath, int* exitCode,
                  std::string* lastLine);
  void killEncoderAndWait();

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
};

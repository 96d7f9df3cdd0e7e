#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "jobs/TimeLeft.h"
#include "jobs/TimeLeftEstimator.h"

// The progress figures of one encoder run, read from the encoder's console output
// and kept in atomic fields so any thread may ask for them while it runs.
class Job {
 public:
  virtual ~Job() = default;

  // Seconds of media encoded; the whole duration once completed (-1 when unknown).
  double GetTimeDone() const;
  // Input duration in seconds, -1 while unknown.
  double GetDuration() const;
  // 1 once completed; while running 0 to just below 1, whatever the encoder
  // prints; -1 while the duration is unknown.
  double GetProgress() const;
  // Wall-clock seconds left, never negative: 0 once finishing or completed, -1
  // while not known yet.
  double GetEstimateLeftTime() const;
  // The time left as the front ends show it, now or at a moment of the awake clock.
  TimeLeft GetTimeLeft() const;
  TimeLeft GetTimeLeftAt(int64_t nowMs) const;
  // Media seconds encoded per second lately; -1 while not known.
  double GetRecentRate() const;
  // The encoder's last reported speed factor (2.0: twice real time), -1 while unknown.
  double GetSpeed() const;
  bool IsCompleted() const { return completed_; }

  // Takes one output line of the encoder and updates the figures it carries, as
  // it arrives now or at a moment of the awake clock (AwakeClock).
  void HandleOutputLine(const std::string& line);
  void HandleOutputLine(const std::string& line, int64_t nowMs);

  // A run begins through this pipeline: the estimate starts again.
  void BeginRun(const TimeLeftEstimator::Pipeline& pipeline);
  // A job of several runs: the run that begins next covers the share of the job's
  // progress that follows before (both fractions of 1). Progress of a job of one
  // run: 0 and 1.
  void SetRunShare(double before, double share);
  // The encoder has ended: its output is being checked.
  void EncoderEnded();
  // The encoder is held from nowMs until resumed; that time is no encoding time.
  void PauseEstimate(int64_t nowMs);
  void ResumeEstimate(int64_t nowMs);
  // Called on the thread that reads the encoder's output when the first progress
  // line of a run arrives. Set before the job is shared.
  void SetFirstProgressCallback(std::function<void()> callback);

  // The input's length that progress and time left are measured against, from the
  // probe (the encoder's own "Duration:" text can be moved by the input's tags);
  // <= 0 or not finite: unknown.
  void SetDuration(double seconds);

 protected:
  // Seconds (or a factor) as thousandths, truncated toward zero.
  static int32_t ToThousandths(double value);
  void ResetFigures();

  std::atomic<int32_t> done_{0};      // ms of media encoded
  std::atomic<int32_t> duration_{0};  // ms of input
  std::atomic<int32_t> start_{0};     // ms input start offset
  std::atomic<int32_t> speed_{0};     // speed factor x 1000
  std::atomic<bool> completed_{false};
  std::atomic<int32_t> runBefore_{0};    // share x 1000 of the runs before this one
  std::atomic<int32_t> runShare_{1000};  // share x 1000 of this run

 private:
  // Made by the first run: a stored job that never runs here keeps none.
  TimeLeftEstimator& estimatorLocked();
  const TimeLeftEstimator& estimatorLocked() const;

  mutable std::mutex estimateLock_;
  std::unique_ptr<TimeLeftEstimator> estimator_;  // under estimateLock_
  std::atomic<bool> sawProgress_{false};
  std::function<void()> onFirstProgress_;
};

#pragma once

#include <atomic>
#include <cstdint>
#include <string>

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
  // Wall-clock seconds left at the current speed, never negative; -1 while duration
  // or speed is unknown.
  double GetEstimateLeftTime() const;
  // The encoder's last reported speed factor (2.0: twice real time), -1 while unknown.
  double GetSpeed() const;
  bool IsCompleted() const { return completed_; }

  // Takes one output line of the encoder and updates the figures it carries.
  void HandleOutputLine(const std::string& line);
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
};

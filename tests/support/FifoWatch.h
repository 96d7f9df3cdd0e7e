#pragma once

#include <atomic>
#include <string>
#include <thread>

// Makes a FIFO and watches for a reader that blocks on it: the watch keeps trying
// to open the writing end without waiting, which succeeds only while a reader has
// the FIFO open, and then closes it at once so that reader sees the end and goes
// on. A test then fails instead of hanging.
class FifoWatch {
 public:
  explicit FifoWatch(const std::string& path);
  ~FifoWatch();
  FifoWatch(const FifoWatch&) = delete;
  FifoWatch& operator=(const FifoWatch&) = delete;

  bool made() const { return made_; }
  bool readerWasBlocked() const { return blocked_; }

 private:
  std::string path_;
  bool made_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> blocked_{false};
  std::thread thread_;
};

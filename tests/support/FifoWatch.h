#pragma once

#include <atomic>
#include <string>
#include <thread>

// Makes a FIFO and notices a reader blocked on it: it keeps opening the writing end
// without waiting, which succeeds only while a reader has the FIFO open, and closes
// it at once, so that reader sees the end. A test then fails instead of hanging.
class FifoWatch {
 public:
  explicit FifoWatch(const std::string& path);
  ~FifoWatch();
  bool made() const { return made_; }
  bool readerWasBlocked() const { return blocked_; }

 private:
  std::string path_;
  bool made_ = false;
  std::atomic<bool> stop_{false}, blocked_{false};
  std::thread thread_;
};

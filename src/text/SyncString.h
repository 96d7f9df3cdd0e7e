#pragma once

#include <mutex>
#include <string>

// A text cell shared between threads: every read and write copies under the lock.
class SyncString {
 public:
  SyncString() = default;
  explicit SyncString(std::string initial) : value_(std::move(initial)) {}

  std::string get() const {
    std::lock_guard<std::mutex> guard(lock_);
    return value_;
  }

  void set(const std::string& value) {
    std::lock_guard<std::mutex> guard(lock_);
    value_ = value;
  }

 private:
  mutable std::mutex lock_;
  std::string value_;
};

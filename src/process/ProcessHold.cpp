#include "process/ProcessHold.h"

#include "platform/OSUtil.h"

bool ProcessHold::Hold() {
  std::lock_guard<std::mutex> guard(lock_);
  if (held_ || closed_) return false;
  held_ = true;
  for (const int64_t pid : children_) {
    if (suspended_.count(pid) == 0 && OSUtil::holdProcess(pid, true)) suspended_.insert(pid);
  }
  return true;
}

bool ProcessHold::Release() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!held_) return false;
    held_ = false;
    resumeAllLocked();
  }
  changed_.notify_all();
  return true;
}

bool ProcessHold::IsHeld() const {
  std::lock_guard<std::mutex> guard(lock_);
  return held_;
}

void ProcessHold::Adopt(int64_t pid) {
  if (pid <= 0) return;
  std::lock_guard<std::mutex> guard(lock_);
  children_.insert(pid);
  if (held_ && suspended_.count(pid) == 0 && OSUtil::holdProcess(pid, true)) suspended_.insert(pid);
}

void ProcessHold::Forget(int64_t pid) {
  std::lock_guard<std::mutex> guard(lock_);
  children_.erase(pid);
  suspended_.erase(pid);
}

void ProcessHold::Close() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    held_ = false;
    resumeAllLocked();
  }
  changed_.notify_all();
}

void ProcessHold::Reopen() {
  std::lock_guard<std::mutex> guard(lock_);
  // A run that ended held (its encoder ended all the same) leaves nothing to hold.
  resumeAllLocked();
  children_.clear();
  held_ = false;
  closed_ = false;
}

bool ProcessHold::WaitWhileHeld() {
  std::unique_lock<std::mutex> guard(lock_);
  changed_.wait(guard, [this] { return !held_ || closed_; });
  return !closed_;
}

void ProcessHold::resumeAllLocked() {
  for (const int64_t pid : suspended_) OSUtil::holdProcess(pid, false);
  suspended_.clear();
}

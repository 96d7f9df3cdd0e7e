#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

// Holds the child processes of one piece of work (a job's encoder) while it is
// paused: a child adopted before the hold is suspended when it begins, one adopted
// during the hold at once, and each is resumed when it ends. A child is suspended
// once however often it is held (Windows counts suspensions). A thread about to start
// a child waits while the hold lasts. Only our own running children are touched
// (OSUtil::holdProcess). Thread-safe.
class ProcessHold {
 public:
  // Suspends the adopted children; false when held already or closed.
  bool Hold();
  // Resumes them and lets a waiting thread go on; false when not held.
  bool Release();
  bool IsHeld() const;

  // A child just started: suspended at once while held.
  void Adopt(int64_t pid);
  // The child has ended (its number may be reused): left alone from now on.
  void Forget(int64_t pid);

  // The work ends (a stop): a hold ends, the children are resumed so that they can
  // be ended and their output drained, a waiting thread is told to give up, and no
  // new hold begins until Reopen.
  void Close();
  // A new run of the work: not held, holds begin again.
  void Reopen();

  // Returns at once when not held; otherwise waits until Release (true) or Close
  // (false). False too when closed.
  bool WaitWhileHeld();

 private:
  void resumeAllLocked();

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::set<int64_t> children_;   // under lock_
  std::set<int64_t> suspended_;  // under lock_: of the children, those suspended now
  bool held_ = false;            // under lock_
  bool closed_ = false;          // under lock_
};

#pragma once

#include <QString>
#include <memory>

// Keeps a second copy of the program from running for the same user (the same
// log-in session on Windows), and names the place where the running copy listens
// for later starts.
//
// On Linux the lock is a file locked with flock() in a folder no other user can
// write to: $XDG_RUNTIME_DIR when it is the user's own and closed to others, else a
// closed folder of the user's own in the data folder. Nobody else can plant anything
// there, and the kernel drops the lock however its holder ends. On Windows a named
// semaphore and a one-byte shared-memory segment, which live in the log-in
// session's own namespace.
class SingleInstanceLock {
 public:
  // key names the lock, memory_key the segment (Windows).
  SingleInstanceLock(const QString& key, const QString& memory_key);
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // True when this process is now the one running copy (until this object goes);
  // false when another copy holds the lock. A lock that cannot be made at all is
  // logged and counts as taken: the program starts rather than never.
  bool acquire();

  // The name of a local socket beside the lock: a path in the lock's folder on
  // Linux, a pipe name of the log-in session on Windows.
  QString socketName(const QString& name) const;

 private:
  struct Platform;
  std::unique_ptr<Platform> platform_;
};

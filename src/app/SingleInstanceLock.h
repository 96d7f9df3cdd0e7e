#pragma once

#include <QSharedMemory>
#include <QString>
#include <QSystemSemaphore>

// Keeps a second copy of the program from running for the same user (the same
// log-in session on Windows): the first copy holds a small shared-memory segment
// for its whole life, and a later start cannot create it.
class SingleInstanceLock {
 public:
  SingleInstanceLock(const QString& semaphore_key, const QString& memory_key);

  // True when this process is now the one running copy (the segment stays attached
  // until this object goes); false when another copy holds it.
  bool acquire();

 private:
  // The key as the platform needs it to keep copies of different users apart.
  static QString user_scoped_key(const QString& key);

  // Declared in this order so the segment is dropped before the semaphore.
  QSystemSemaphore semaphore_;
  QSharedMemory memory_;
};

#pragma once

#include <QSharedMemory>
#include <QString>
#include <QSystemSemaphore>

// Keeps a second copy of the program from running: the first copy holds a small
// shared-memory segment for its whole life, and a later start cannot create it.
class SingleInstanceLock {
 public:
  SingleInstanceLock(const QString& semaphore_key, const QString& memory_key);

  // True when this process is now the one running copy (the segment stays attached
  // until this object goes); false when another copy holds it.
  bool acquire();

 private:
  // Declared in this order so the segment is dropped before the semaphore.
  QSystemSemaphore semaphore_;
  QSharedMemory memory_;
};

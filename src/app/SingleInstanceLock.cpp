#include "app/SingleInstanceLock.h"

SingleInstanceLock::SingleInstanceLock(const QString& semaphore_key, const QString& memory_key)
    : semaphore_(user_scoped_key(semaphore_key), 1, QSystemSemaphore::Open),
      memory_(user_scoped_key(memory_key)) {}

bool SingleInstanceLock::acquire() {
  semaphore_.acquire();
  // On Unix a segment outlives a copy that crashed. Attaching and detaching again
  // removes it when nobody else is attached, and leaves a live copy's segment alone.
  if (memory_.attach()) memory_.detach();
  const bool created = memory_.create(1, QSharedMemory::ReadWrite);
  semaphore_.release();
  return created;
}

#include <windows.h>

#include <QSharedMemory>
#include <QSystemSemaphore>

#include "app/SingleInstanceLock.h"

// Named objects live in the log-in session's own namespace.
struct SingleInstanceLock::Platform {
  Platform(const QString& semaphore_key, const QString& memory_key)
      : semaphore(semaphore_key, 1, QSystemSemaphore::Open), memory(memory_key) {}

  // Declared in this order so the segment is dropped before the semaphore.
  QSystemSemaphore semaphore;
  QSharedMemory memory;
};

SingleInstanceLock::SingleInstanceLock(const QString& key, const QString& memory_key)
    : platform_(new Platform(key, memory_key)) {}

SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::acquire() {
  platform_->semaphore.acquire();
  // Attaching and detaching leaves a live copy's segment in place; create() then fails.
  if (platform_->memory.attach()) platform_->memory.detach();
  const bool created = platform_->memory.create(1, QSharedMemory::ReadWrite);
  platform_->semaphore.release();
  return created;
}

QString SingleInstanceLock::socketName(const QString& name) const {
  // Pipe names are machine-wide; the lock is per log-in session, so is the pipe.
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  return name + QStringLiteral("-") + QString::number(session);
}

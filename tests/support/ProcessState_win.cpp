#include <windows.h>

#include "ProcessState.h"

bool process_gone(int64_t pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return true;
  // A handle can still be had for a process that has ended but is not yet released.
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// Windows keeps no zombies: an ended process is gone once its last handle closes.
bool process_ended(int64_t pid) { return process_gone(pid); }

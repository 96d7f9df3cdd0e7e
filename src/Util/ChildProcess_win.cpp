#include <windows.h>

#include <iostream>

#include "Util/ChildProcess.h"

namespace {

// One job object for the whole run, never closed by us: when the program ends,
// however it ends, Windows closes the last handle and kills every process in it.
HANDLE killOnCloseJob() {
  static const HANDLE job = [] {
    HANDLE handle = CreateJobObjectW(nullptr, nullptr);
    if (handle == nullptr) return handle;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    ZeroMemory(&limits, sizeof(limits));
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(handle, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
      CloseHandle(handle);
      return static_cast<HANDLE>(nullptr);
    }
    return handle;
  }();
  return job;
}

}  // namespace

void ChildProcess::setupChildProcess() {}

void ChildProcess::tieStartedChild() {
  const HANDLE job = killOnCloseJob();
  const DWORD pid = static_cast<DWORD>(processId());
  HANDLE child =
      job != nullptr && pid != 0 ? OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, pid) : nullptr;
  if (child == nullptr || !AssignProcessToJobObject(job, child)) {
    std::cout << "Error,ChildProcess::tieStartedChild, pid:" << pid << " not tied, error:" << GetLastError()
              << std::endl;
  }
  if (child != nullptr) CloseHandle(child);
}

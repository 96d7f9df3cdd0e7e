#include <windows.h>

#include <iostream>

#include "process/ChildProcess.h"

namespace {

// One job object for the whole run, never closed by us: when the program ends,
// however it ends, Windows closes the last handle and kills every process in it.
// The handle is not inheritable, so no child keeps the job alive.
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

// The process and thread handles of the child this thread started last: start() runs
// CreateProcess on the calling thread, and tieStartedChild() follows on the same one.
thread_local PROCESS_INFORMATION* t_started = nullptr;

}  // namespace

void ChildProcess::setupChildProcess() {}

void ChildProcess::prepareStart() {
  // Suspended until it is in the job: a child must not run, or start children of its
  // own, outside it.
  t_started = nullptr;
  setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
    arguments->flags |= CREATE_SUSPENDED;
    t_started = arguments->processInformation;
  });
}

void ChildProcess::tieStartedChild() {
  PROCESS_INFORMATION* started = t_started;
  t_started = nullptr;
  if (started == nullptr || started->hProcess == nullptr) return;
  const HANDLE job = killOnCloseJob();
  if (job == nullptr || !AssignProcessToJobObject(job, started->hProcess)) {
    std::cout << "Error,ChildProcess::tieStartedChild, pid:" << started->dwProcessId
              << " not tied, error:" << GetLastError() << std::endl;
  }
  // An untied child still runs: better than one that waits for ever.
  ResumeThread(started->hThread);
}

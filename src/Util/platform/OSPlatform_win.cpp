#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <QDir>
#include <QProcess>
#include <iostream>

#include "Util/OSUtil.h"
#include "Util/platform/OSPlatform.h"

namespace {

uint64_t toUint64(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void runHidden(const std::string& command) { WinExec(command.c_str(), SW_HIDE); }

// The parent recorded for a running process; 0 when no process has this id.
DWORD parentOf(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof(entry);
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == pid) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return parent;
}

}  // namespace

namespace os_platform {

bool parseProcStatCpuLine(const std::string&, CpuTimes&) { return false; }

bool readCpuTimes(CpuTimes& times) {
  FILETIME idle, kernel, user;
  if (!GetSystemTimes(&idle, &kernel, &user)) return false;
  // Kernel time includes the idle time.
  times.idle = toUint64(idle);
  times.total = toUint64(kernel) + toUint64(user);
  return true;
}

void killChild(int64_t pid) {
  // The registry may hold a number whose process ended and was reused.
  if (parentOf(static_cast<DWORD>(pid)) != GetCurrentProcessId()) {
    std::cout << "Error,OSUtil::killProcess,pid:" << pid << " is not our child, not killed." << std::endl;
    return;
  }
  const std::string command = "TASKKILL /PID " + std::to_string(pid) + " /F";
  std::cout << "cmd:" << command << std::endl;
  runHidden(command);
}

void shutdownMachine() {
  std::cout << "cmd:shutdown -s -t 0" << std::endl;
  runHidden("shutdown -s -t 0");
}

void openFolder(const std::string& folder) {
  // Explorer reads its own command line: the folder goes in as it is, quoted only
  // when it holds a blank (Qt's argument quoting would double a trailing backslash).
  QString path = QDir::toNativeSeparators(QString::fromUtf8(folder.c_str()));
  if (path.contains(' ')) path = '"' + path + '"';
  QProcess explorer;
  explorer.setProgram("explorer");
  explorer.setNativeArguments(path);
  explorer.startDetached();
}

std::string defaultOutputBase() {
  std::string drive;
  try {
    drive = OSUtil::getMaxFreeSpaceDrive();
  } catch (const std::string& error) {
    // A drive that cannot be asked must not keep the program from starting.
    std::cout << "Error,OSUtil::getDefaultOutputDir," << error << std::endl;
  }
  return drive.empty() ? QDir::toNativeSeparators(QDir::homePath()).toUtf8().toStdString() : drive;
}

std::string executableSuffix() { return ".exe"; }

}  // namespace os_platform

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <iostream>
#include <string>

#include "platform/OSDrives_win.h"
#include "platform/OSPlatform.h"

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

// The Win32 drive calls want a root folder with its backslash: "C:" alone names the
// current folder of that drive, and GetDriveType does not take it as a root.
std::string rootFolder(const std::string& root) {
  return !root.empty() && root.back() == ':' ? root + "\\" : root;
}

}  // namespace

namespace os_platform {

// Windows counts a name in UTF-16 units, 255 at most on its file systems.
size_t fileNameUnits(const std::string& name) {
  return static_cast<size_t>(QString::fromUtf8(name.c_str(), static_cast<int>(name.size())).size());
}

size_t fileNameLimit(const std::string&) { return 255; }

// Windows names are UTF-16, as Qt's are; one that UTF-8 cannot carry (a lone
// surrogate) is caught where the name comes in.
FileKind fileKind(const std::string& path) {
  const QFileInfo info(QString::fromUtf8(path.c_str(), static_cast<int>(path.size())));
  if (!info.exists()) return FileKind::Missing;
  if (info.isDir()) return FileKind::Folder;
  return info.isFile() ? FileKind::Regular : FileKind::Special;
}

bool parseProcStatCpuLine(const std::string&, CpuTimes&) { return false; }

bool readCpuTimes(CpuTimes& times) {
  FILETIME idle, kernel, user;
  if (!GetSystemTimes(&idle, &kernel, &user)) return false;
  // Kernel time includes the idle time.
  times.idle = toUint64(idle);
  times.total = toUint64(kernel) + toUint64(user);
  return true;
}

bool killChild(int64_t pid) {
  // The registry may hold a number whose process ended and was reused.
  if (parentOf(static_cast<DWORD>(pid)) != GetCurrentProcessId()) {
    std::cout << "Error,OSUtil::killProcess,pid:" << pid << " is not our child, not killed." << std::endl;
    return false;
  }
  const std::string command = "TASKKILL /PID " + std::to_string(pid) + " /F";
  std::cout << "cmd:" << command << std::endl;
  runHidden(command);
  return true;
}

bool holdChild(int64_t pid, bool hold) {
  if (parentOf(static_cast<DWORD>(pid)) != GetCurrentProcessId()) {
    std::cout << "Error,OSUtil::holdProcess,pid:" << pid << " is not our child, left alone." << std::endl;
    return false;
  }
  // The whole process at once, threads it starts meanwhile too, and counted: each
  // suspension needs its own resumption. Exported by ntdll on every Windows we run on.
  using ProcessCall = LONG(WINAPI*)(HANDLE);
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const FARPROC found =
      ntdll == nullptr ? nullptr : GetProcAddress(ntdll, hold ? "NtSuspendProcess" : "NtResumeProcess");
  if (found == nullptr) {
    std::cout << "Error,OSUtil::holdProcess, the system offers no way to hold a process." << std::endl;
    return false;
  }
  // Through the catch-all function type: a direct cast between unrelated function
  // types draws a warning.
  const auto call = reinterpret_cast<ProcessCall>(reinterpret_cast<void (*)()>(found));
  HANDLE process = OpenProcess(PROCESS_SUSPEND_RESUME, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return false;
  std::cout << "cmd:" << (hold ? "NtSuspendProcess " : "NtResumeProcess ") << pid << std::endl;
  const LONG status = call(process);
  CloseHandle(process);
  // An NTSTATUS below zero is an error.
  return status >= 0;
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
    drive = maxFreeSpaceDrive();
  } catch (const std::string& error) {
    // A drive that cannot be asked must not keep the program from starting.
    std::cout << "Error,OSUtil::getDefaultOutputDir," << error << std::endl;
  }
  return drive.empty() ? QDir::toNativeSeparators(QDir::homePath()).toUtf8().toStdString() : drive;
}

std::string executableSuffix() { return ".exe"; }

std::wstring wide(const std::string& path) { return QString::fromStdString(path).toStdWString(); }

std::string lastError() { return "Windows error " + std::to_string(GetLastError()); }

MoveOutcome moveWithoutReplacing(const std::string& from, const std::string& to, std::string& error) {
  // Without MOVEFILE_REPLACE_EXISTING Windows refuses a name that is taken.
  if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return MoveOutcome::Moved;
  const DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) return MoveOutcome::Exists;
  error = "Windows error " + std::to_string(code);
  return MoveOutcome::Failed;
}

CreateOutcome createNewFile(const std::string& path, const std::string& bytes, std::string& error) {
  HANDLE file =
      CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    error = "Windows error " + std::to_string(code);
    return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? CreateOutcome::Exists
                                                                     : CreateOutcome::Failed;
  }
  DWORD written = 0;
  const bool whole =
      bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size());
  if (!whole) error = lastError();
  CloseHandle(file);
  if (!whole) DeleteFileW(wide(path).c_str());
  return whole ? CreateOutcome::Created : CreateOutcome::Failed;
}

// Windows has no pipes or devices among a folder's files; links are refused.
ReadOutcome readRegularFile(const std::string& path, size_t limit, std::string& bytes) {
  const QFileInfo info(QString::fromStdString(path));
  if (info.isSymLink()) return ReadOutcome::NotRegular;
  if (!info.exists()) return ReadOutcome::Missing;
  if (!info.isFile()) return ReadOutcome::NotRegular;
  QFile file(info.filePath());
  if (!file.open(QIODevice::ReadOnly)) return ReadOutcome::Unreadable;
  bytes = file.read(static_cast<qint64>(limit)).toStdString();
  return ReadOutcome::Read;
}

bool processAlive(int64_t pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return false;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

std::string processName(int64_t pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return std::string();
  wchar_t path[MAX_PATH * 4];
  DWORD length = MAX_PATH * 4;
  const bool known = QueryFullProcessImageNameW(process, 0, path, &length);
  CloseHandle(process);
  if (!known) return std::string();
  return QFileInfo(QString::fromWCharArray(path, static_cast<int>(length))).fileName().toUtf8().toStdString();
}

bool sameFile(const std::string& a, const std::string& b) {
  const QString first = QFileInfo(QString::fromStdString(a)).canonicalFilePath();
  return !first.isEmpty() &&
         first.compare(QFileInfo(QString::fromStdString(b)).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

bool replaceFile(const std::string& from, const std::string& to, std::string& error) {
  const std::wstring source = QString::fromStdString(from).toStdWString();
  const std::wstring target = QString::fromStdString(to).toStdWString();
  if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  error = "Windows error " + std::to_string(GetLastError());
  return false;
}

}  // namespace os_platform

std::string os_platform::chooseMaxFreeSpaceDrive(
    const std::vector<char>& letters, const std::function<bool(const std::string&)>& isFixed,
    const std::function<uint64_t(const std::string&)>& freeBytes) {
  std::string best;
  uint64_t bestFree = 0;
  for (char letter : letters) {
    const std::string root = std::string(1, letter) + ":";
    if (!isFixed(root)) continue;
    const uint64_t free = freeBytes(root);
    if (free > bestFree) {
      bestFree = free;
      best = root;
    }
  }
  return best;
}

std::vector<char> os_platform::allDriveLetters() {
  char buffer[261] = {0};
  const DWORD result = GetLogicalDriveStringsA(260, buffer);
  if (result < 1 || result > 260) {
    throw std::string("OSUtil::getAllDriverLetters(), call GetLogicalDriveStrings failed, dwResult:") +
        std::to_string(result);
  }
  std::vector<char> letters;
  for (int i = 0; i < 260; ++i) {
    if (buffer[i] == '\0' && buffer[i + 1] == '\0') break;
    if (buffer[i] >= 'A' && buffer[i] <= 'Z') letters.push_back(buffer[i]);
  }
  return letters;
}

uint64_t os_platform::driveFreeSpace(const std::string& root) {
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExA(rootFolder(root).c_str(), &available, nullptr, nullptr)) {
    throw std::string("OSUtil::getDriveFreeSpace(), call GetDiskFreeSpaceEx failed!");
  }
  return available.QuadPart;
}

std::string os_platform::maxFreeSpaceDrive() {
  return os_platform::chooseMaxFreeSpaceDrive(
      allDriveLetters(),
      [](const std::string& root) { return GetDriveTypeA(rootFolder(root).c_str()) == DRIVE_FIXED; },
      [](const std::string& root) { return driveFreeSpace(root); });
}

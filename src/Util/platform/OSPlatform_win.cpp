#include <windows.h>

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
  const std::string command = "TASKKILL /PID " + std::to_string(pid) + " /F";
  std::cout << "cmd:" << command << std::endl;
  runHidden(command);
}

void shutdownMachine() { runHidden("shutdown -s -t 0"); }

void openFolder(const std::string& folder) {
  QProcess::startDetached("explorer", {QDir::toNativeSeparators(QString::fromUtf8(folder.c_str()))});
}

std::string defaultOutputBase() {
  const std::string drive = OSUtil::getMaxFreeSpaceDrive();
  return drive.empty() ? QDir::toNativeSeparators(QDir::homePath()).toUtf8().toStdString() : drive;
}

std::string executableSuffix() { return ".exe"; }

}  // namespace os_platform

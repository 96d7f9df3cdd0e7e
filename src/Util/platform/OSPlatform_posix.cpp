#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Util/platform/OSPlatform.h"

namespace {

// The parent pid recorded in /proc/<pid>/stat, or -1 when the process is gone.
int64_t parentOf(int64_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(stat, text)) return -1;
  // The command name is in parentheses and may itself hold spaces or parentheses.
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(text.substr(close + 1));
  std::string state;
  int64_t ppid = -1;
  rest >> state >> ppid;
  return rest ? ppid : -1;
}

}  // namespace

namespace os_platform {

bool parseProcStatCpuLine(const std::string& line, CpuTimes& times) {
  std::istringstream in(line);
  std::string label;
  in >> label;
  if (label != "cpu") return false;
  // user nice system idle iowait irq softirq steal; guest time is already in user.
  uint64_t fields[8] = {0};
  int count = 0;
  while (count < 8 && in >> fields[count]) ++count;
  if (count < 4) return false;
  times.idle = fields[3] + fields[4];
  times.total = 0;
  for (uint64_t value : fields) times.total += value;
  return true;
}

bool readCpuTimes(CpuTimes& times) {
  std::ifstream stat("/proc/stat");
  std::string line;
  return std::getline(stat, line) && parseProcStatCpuLine(line, times);
}

void killChild(int64_t pid) {
  // The registry may hold a pid whose process ended and whose number was reused.
  if (parentOf(pid) != static_cast<int64_t>(getpid())) {
    std::cout << "Error,OSUtil::killProcess,pid:" << pid << " is not our child, not killed." << std::endl;
    return;
  }
  std::cout << "cmd:kill -9 " << pid << std::endl;
  ::kill(static_cast<pid_t>(pid), SIGKILL);
}

void shutdownMachine() {
  std::cout << "cmd:systemctl poweroff" << std::endl;
  QProcess::startDetached("systemctl", {"poweroff"});
}

void openFolder(const std::string& folder) {
  // What QDesktopServices does on a generic desktop, without needing QtGui here.
  QProcess::startDetached("xdg-open", {QString::fromUtf8(folder.c_str())});
}

std::string defaultOutputBase() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  if (base.isEmpty()) base = QDir::homePath();
  return QDir::toNativeSeparators(base).toUtf8().toStdString();
}

std::string executableSuffix() { return std::string(); }

}  // namespace os_platform

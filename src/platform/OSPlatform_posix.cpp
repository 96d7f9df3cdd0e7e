#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/DetachedProcess.h"
#include "platform/OSPlatform.h"
#include "text/QtText.h"

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

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Qt turns each byte of a name that is not UTF-8 into U+FFFD, and cannot give the
// bytes back: such a file is out of reach of every Qt file call and process
// argument. True when the path is one of those, read back from the folders' own
// bytes: each missing component holding U+FFFD is matched to the folder entry
// that Qt would show under that text.
bool reachedOnlyByItsBytes(const QByteArray& path) {
  if (!path.contains(kReplacement)) return false;
  QByteArray reached = path.startsWith('/') ? QByteArray("/") : QByteArray();
  bool substituted = false;
  for (const QByteArray& part : path.split('/')) {
    if (part.isEmpty()) continue;
    const QByteArray joined = reached.isEmpty() || reached.endsWith('/') ? reached : reached + '/';
    struct stat seen {};
    if (::lstat((joined + part).constData(), &seen) == 0) {
      reached = joined + part;
      continue;
    }
    if (!part.contains(kReplacement)) return false;
    DIR* folder = ::opendir(reached.isEmpty() ? "." : reached.constData());
    if (folder == nullptr) return false;
    const QString shown = QFile::decodeName(part);
    QByteArray match;
    while (const dirent* entry = ::readdir(folder)) {
      const QByteArray raw(entry->d_name);
      if (raw != part && QFile::decodeName(raw) == shown) {
        match = raw;
        break;
      }
    }
    ::closedir(folder);
    if (match.isEmpty()) return false;
    reached = joined + match;
    substituted = true;
  }
  struct stat seen {};
  return substituted && ::stat(reached.constData(), &seen) == 0;
}

}  // namespace

namespace os_platform {

size_t fileNameUnits(const std::string& name) { return name.size(); }

size_t fileNameLimit(const std::string& folder) {
  const long limit = ::pathconf(QFile::encodeName(to_qstring(folder)).constData(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<size_t>(limit) : 0;
}

FileKind fileKind(const std::string& path) {
  const QByteArray name = QFile::encodeName(to_qstring(path));
  struct stat seen {};
  if (::stat(name.constData(), &seen) == 0) {
    if (S_ISREG(seen.st_mode)) return FileKind::Regular;
    return S_ISDIR(seen.st_mode) ? FileKind::Folder : FileKind::Special;
  }
  return reachedOnlyByItsBytes(name) ? FileKind::UnreadableName : FileKind::Missing;
}

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

bool killChild(int64_t pid) {
  // The registry may hold a pid whose process ended and whose number was reused.
  if (parentOf(pid) != static_cast<int64_t>(getpid())) {
    std::cout << "Error,OSUtil::killProcess,pid:" << pid << " is not our child, not killed." << std::endl;
    return false;
  }
  std::cout << "cmd:kill -9 " << pid << std::endl;
  return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0;
}

void shutdownMachine() {
  std::cout << "cmd:systemctl poweroff" << std::endl;
  DetachedProcess::start("systemctl", {"poweroff"});
}

void openFolder(const std::string& folder) {
  // What QDesktopServices does on a generic desktop, without needing QtGui here.
  DetachedProcess::start("xdg-open", {QString::fromUtf8(folder.c_str())});
}

std::string defaultOutputBase() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  if (base.isEmpty()) base = QDir::homePath();
  return QDir::toNativeSeparators(base).toUtf8().toStdString();
}

std::string executableSuffix() { return std::string(); }

bool replaceFile(const std::string& from, const std::string& to, std::string& error) {
  if (::rename(QFile::encodeName(to_qstring(from)).constData(),
               QFile::encodeName(to_qstring(to)).constData()) == 0)
    return true;
  error = std::strerror(errno);
  return false;
}

}  // namespace os_platform

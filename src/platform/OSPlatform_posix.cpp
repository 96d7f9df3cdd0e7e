#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
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

QByteArray encoded(const std::string& path) { return QFile::encodeName(to_qstring(path)); }

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

bool holdChild(int64_t pid, bool hold) {
  if (parentOf(pid) != static_cast<int64_t>(getpid())) {
    std::cout << "Error,OSUtil::holdProcess,pid:" << pid << " is not our child, left alone." << std::endl;
    return false;
  }
  const pid_t child = static_cast<pid_t>(pid);
  const int signal = hold ? SIGSTOP : SIGCONT;
  std::cout << "cmd:kill -" << (hold ? "STOP" : "CONT") << " " << pid << std::endl;
  // Our children lead process groups of their own: anything they started goes with them.
  if (::getpgid(child) == child && ::kill(-child, signal) == 0) return true;
  return ::kill(child, signal) == 0;
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

MoveOutcome moveWithoutReplacing(const std::string& from, const std::string& to, std::string& error) {
  const QByteArray source = encoded(from), target = encoded(to);
  if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
    return MoveOutcome::Moved;
  if (errno == EEXIST) return MoveOutcome::Exists;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
    error = std::strerror(errno);
    return MoveOutcome::Failed;
  }
  // A link fails, as the rename above would, when the name is taken.
  if (::link(source.constData(), target.constData()) != 0) {
    if (errno == EEXIST) return MoveOutcome::Exists;
    error = std::strerror(errno);
    return MoveOutcome::Failed;
  }
  ::unlink(source.constData());
  return MoveOutcome::Moved;
}

CreateOutcome createNewFile(const std::string& path, const std::string& bytes, std::string& error) {
  const int fd =
      ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int code = errno;
    error = std::strerror(code);
    return code == EEXIST ? CreateOutcome::Exists : CreateOutcome::Failed;
  }
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    written += static_cast<size_t>(count);
  }
  const bool whole = written == bytes.size();
  if (!whole) error = std::strerror(errno);
  ::close(fd);
  if (!whole) ::unlink(encoded(path).constData());
  return whole ? CreateOutcome::Created : CreateOutcome::Failed;
}

ReadOutcome readRegularFile(const std::string& path, size_t limit, std::string& bytes) {
  const QByteArray name = encoded(path);
  struct stat seen {};
  if (::lstat(name.constData(), &seen) != 0)
    return errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Unreadable;
  if (!S_ISREG(seen.st_mode)) return ReadOutcome::NotRegular;
  // The name may have changed since: the descriptor itself is checked again.
  const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return ReadOutcome::Missing;
    return errno == ELOOP ? ReadOutcome::NotRegular : ReadOutcome::Unreadable;
  }
  ReadOutcome outcome = ReadOutcome::Read;
  if (::fstat(fd, &seen) != 0 || !S_ISREG(seen.st_mode)) outcome = ReadOutcome::NotRegular;
  bytes.clear();
  char buffer[4096];
  while (outcome == ReadOutcome::Read && bytes.size() < limit) {
    const ssize_t count = ::read(fd, buffer, std::min(sizeof(buffer), limit - bytes.size()));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) outcome = ReadOutcome::Unreadable;
    if (count <= 0) break;
    bytes.append(buffer, static_cast<size_t>(count));
  }
  ::close(fd);
  return outcome;
}

bool processAlive(int64_t pid) {
  // Another user's process answers EPERM: it is not one of ours.
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

std::string processName(int64_t pid) {
  char target[4096];
  const std::string link = "/proc/" + std::to_string(pid) + "/exe";
  const ssize_t length = ::readlink(link.c_str(), target, sizeof(target) - 1);
  if (length <= 0) return std::string();
  std::string path(target, static_cast<size_t>(length));
  // A program replaced on disk while it runs (an upgrade) is still the same program.
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
    path.erase(path.size() - deleted.size());
  return path.substr(path.rfind('/') + 1);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(encoded(a).constData(), &first) == 0 && ::stat(encoded(b).constData(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool replaceFile(const std::string& from, const std::string& to, std::string& error) {
  if (::rename(encoded(from).constData(), encoded(to).constData()) == 0) return true;
  error = std::strerror(errno);
  return false;
}

}  // namespace os_platform

#include "jobs/JobOwnership.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>
#include <cstdlib>
#include <vector>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"

namespace {

// This process as a lock file names it.
struct Self {
  int64_t pid;
  std::string name;
  std::string host;
  std::string machine;
  std::string boot;
};

const Self& self() {
  static const Self ours = [] {
    const int64_t pid = QCoreApplication::applicationPid();
    return Self{pid, OSUtil::processName(pid), to_utf8(QSysInfo::machineHostName()),
                QSysInfo::machineUniqueId().toStdString(), QSysInfo::bootUniqueId().toStdString()};
  }();
  return ours;
}

std::string stateText(JobState state, int64_t waitingSince) {
  switch (state) {
    case JobState::Waiting:
      return "waiting " + std::to_string(waitingSince);
    case JobState::Starting:
    case JobState::Encoding:
      return "encoding";
    case JobState::Stopping:
      return "stopping";
    case JobState::Paused:
      return "paused";
    default:
      return std::string();
  }
}

std::string content(const std::string& state) {
  const Self& ours = self();
  return std::to_string(ours.pid) + "\n" + ours.name + "\n" + ours.host + "\n" + ours.machine + "\n" +
         ours.boot + "\n" + state + "\n";
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  size_t begin = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
    result.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  if (begin < text.size()) result.push_back(text.substr(begin));
  return result;
}

bool digitsOnly(const std::string& text) {
  return !text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string::npos;
}

JobOwnership::Holder stale(const std::string& why, int64_t pid = -1) {
  JobOwnership::Holder holder;
  holder.stale = why;
  holder.pid = pid;
  return holder;
}

JobOwnership::Holder parse(const std::string& bytes) {
  const std::vector<std::string> fields = lines(bytes);
  if (bytes.find('\0') != std::string::npos || fields.size() < 3 || !digitsOnly(fields[0]) ||
      fields[1].empty() || fields[2].empty())
    return stale("it names no process");
  const int64_t pid = std::strtoll(fields[0].c_str(), nullptr, 10);
  const Self& ours = self();
  const auto differs = [&fields](size_t line, const std::string& own) {
    return fields.size() > line && !fields[line].empty() && !own.empty() && fields[line] != own;
  };
  if (fields[2] != ours.host || differs(3, ours.machine)) return stale("another host's", pid);
  if (differs(4, ours.boot)) return stale("left from an earlier boot", pid);
  if (!OSUtil::isProcessAlive(pid)) return stale("its process has ended", pid);
  const std::string running = OSUtil::processName(pid);
  if (!running.empty() && running != fields[1]) return stale("its process number now runs " + running, pid);

  JobOwnership::Holder holder;
  holder.live = true;
  holder.pid = pid;
  const std::string state = fields.size() > 5 ? fields[5] : std::string();
  if (state.rfind("waiting ", 0) == 0) {
    holder.state = JobState::Waiting;
    holder.waitingSince = std::strtoll(state.c_str() + 8, nullptr, 10);
  } else if (state == "encoding") {
    holder.state = JobState::Encoding;
  } else if (state == "stopping") {
    holder.state = JobState::Stopping;
  } else if (state == "paused") {
    holder.state = JobState::Paused;
  }
  return holder;
}

std::string randomSuffix() {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += kLetters[QRandomGenerator::global()->bounded(62)];
  return suffix;
}

// Takes away whatever has the name: a file or a link is removed, an empty folder
// too; a folder with something in it is set aside whole, none of it being ours.
bool removeEntry(const std::string& path) {
  const QFileInfo info(to_qstring(path));
  if (info.isSymLink() || !info.isDir()) return QFile::remove(info.filePath());
  if (QDir().rmdir(info.filePath())) return true;
  return QDir().rename(info.filePath(), info.filePath() + ".broken-" + to_qstring(randomSuffix()));
}

// A remover holds the guard for a moment; one that died leaves it behind.
constexpr qint64 kGuardStaleMs = 10000;

}  // namespace

JobOwnership::JobOwnership(const std::string& folder, const std::string& jobID)
    : folder_(folder), jobID_(jobID), path_(LockPath(folder, jobID)) {}

JobOwnership::~JobOwnership() { Release(); }

std::string JobOwnership::LockPath(const std::string& folder, const std::string& jobID) {
  return OSUtil::pathJoin(folder, jobID + ".lock");
}

JobOwnership::Holder JobOwnership::ReadHolder(const std::string& folder, const std::string& jobID) {
  std::string bytes;
  switch (OSUtil::readRegularFile(LockPath(folder, jobID), 4096, &bytes)) {
    case ReadOutcome::Missing:
      return Holder();
    case ReadOutcome::NotRegular:
      return stale("not a regular file");
    case ReadOutcome::Unreadable:
      return stale("unreadable");
    case ReadOutcome::Read:
      break;
  }
  return parse(bytes);
}

bool JobOwnership::IsHeldElsewhere(const std::string& folder, const std::string& jobID) {
  return ReadHolder(folder, jobID).live;
}

CreateOutcome JobOwnership::createLocked(const std::string& text) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    // Written aside first, so that no reader ever sees a lock without its holder.
    const std::string temp = path_ + "." + randomSuffix();
    std::string error;
    const CreateOutcome made = OSUtil::createNewFile(temp, text, &error);
    if (made == CreateOutcome::Exists) continue;
    if (made == CreateOutcome::Failed) {
      log_info("JobOwnership, cannot write a lock file:" + temp + ",reason:" + error);
      return CreateOutcome::Failed;
    }
    const MoveOutcome moved = OSUtil::moveWithoutReplacing(temp, path_, &error);
    if (moved == MoveOutcome::Moved) return CreateOutcome::Created;
    QFile::remove(to_qstring(temp));
    if (moved == MoveOutcome::Exists) return CreateOutcome::Exists;
    log_info("JobOwnership, cannot make the lock file:" + path_ + ",reason:" + error);
    return CreateOutcome::Failed;
  }
  return CreateOutcome::Failed;
}

bool JobOwnership::replaceStaleLocked(const std::string& why) {
  const std::string guard = path_ + ".rmlock";
  switch (OSUtil::createNewFile(guard, content(std::string()))) {
    case CreateOutcome::Created:
      break;
    case CreateOutcome::Failed:
      return false;
    case CreateOutcome::Exists: {
      const QFileInfo info(to_qstring(guard));
      const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
      if (info.isSymLink() || !info.isFile() || std::llabs(age) > kGuardStaleMs) {
        log_info("JobOwnership, removed a stale guard:" + guard);
        removeEntry(guard);
      }
      return false;
    }
  }
  // Judged again under the guard: another process may have replaced it meanwhile.
  const Holder now = ReadHolder(folder_, jobID_);
  if (!now.live && !now.stale.empty()) {
    const bool removed = removeEntry(path_);
    log_info("JobOwnership, " + std::string(removed ? "removed" : "cannot remove") +
             " a stale lock:" + path_ + ",reason:" + why);
  }
  QFile::remove(to_qstring(guard));
  return true;
}

bool JobOwnership::Take() {
  std::lock_guard<std::mutex> guard(lock_);
  if (held_) return true;
  for (int attempt = 0; attempt < 50; ++attempt) {
    switch (createLocked(content(std::string()))) {
      case CreateOutcome::Created:
        held_ = locked_ = true;
        return true;
      case CreateOutcome::Failed:
        // A folder that takes no new file (read-only, full) holds no lock of another
        // process either: go on without one; the job's own saves will tell what fails.
        held_ = true;
        log_info("JobOwnership::Take, no lock file can be made, going on without:" + path_);
        return true;
      case CreateOutcome::Exists:
        break;
    }
    const Holder holder = ReadHolder(folder_, jobID_);
    if (holder.live) return false;
    if (holder.stale.empty() || replaceStaleLocked(holder.stale)) continue;
    OSUtil::sleepMs(5);
  }
  log_info("Error,JobOwnership::Take, the lock stayed in the way:" + path_);
  return false;
}

void JobOwnership::Release() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!held_) return;
  // Only the file this object made: never a lock made since by another process. A
  // reader may hold it open a moment (Windows then refuses the removal).
  for (int attempt = 0; locked_ && attempt < 3 && ReadHolder(folder_, jobID_).pid == self().pid; ++attempt) {
    if (QFile::remove(to_qstring(path_))) break;
    OSUtil::sleepMs(10);
  }
  held_ = false;
  locked_ = false;
}

bool JobOwnership::IsHeld() const {
  std::lock_guard<std::mutex> guard(lock_);
  return held_;
}

void JobOwnership::SetState(JobState state, int64_t waitingSince) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!locked_) return;
  const std::string temp = path_ + "." + randomSuffix();
  if (OSUtil::createNewFile(temp, content(stateText(state, waitingSince))) != CreateOutcome::Created) return;
  std::string error;
  if (!OSUtil::replaceFile(temp, path_, &error)) {
    QFile::remove(to_qstring(temp));
    log_info("JobOwnership::SetState, cannot write:" + path_ + ",reason:" + error);
  }
}

#include "jobs/JobOwnership.h"

#include <QFileInfo>
#include <QLockFile>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"

namespace {

std::unique_ptr<QLockFile> makeLock(const std::string& path) {
  auto lock = std::make_unique<QLockFile>(to_qstring(path));
  // Qt counts a lock older than this as stale even while its owner lives; an encode
  // may take hours, so only a dead owner makes a lock stale.
  lock->setStaleLockTime(0);
  return lock;
}

}  // namespace

JobOwnership::JobOwnership(const std::string& folder, const std::string& jobID)
    : path_(LockPath(folder, jobID)) {}

JobOwnership::~JobOwnership() { Release(); }

std::string JobOwnership::LockPath(const std::string& folder, const std::string& jobID) {
  return OSUtil::pathJoin(folder, jobID + ".lock");
}

bool JobOwnership::Take() {
  std::lock_guard<std::mutex> guard(lock_);
  if (held_) return true;
  if (!file_) file_ = makeLock(path_);
  locked_ = file_->tryLock(0);
  // A folder that takes no new file (read-only, full) holds no lock of another
  // process either: go on without one; the job's own saves will tell what fails.
  held_ = locked_ || file_->error() != QLockFile::LockFailedError;
  if (!locked_ && held_) log_info("JobOwnership::Take, no lock file can be made, going on without:" + path_);
  return held_;
}

void JobOwnership::Release() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!held_) return;
  if (locked_) file_->unlock();
  held_ = false;
  locked_ = false;
}

bool JobOwnership::IsHeld() const {
  std::lock_guard<std::mutex> guard(lock_);
  return held_;
}

bool JobOwnership::IsHeldElsewhere(const std::string& folder, const std::string& jobID) {
  const std::string path = LockPath(folder, jobID);
  if (!QFileInfo::exists(to_qstring(path))) return false;
  // Taking the lock for a moment is the one sure test: it fails only while a live
  // owner holds it, and clears the lock of a dead one.
  std::unique_ptr<QLockFile> probe = makeLock(path);
  if (!probe->tryLock(0)) return true;
  probe->unlock();
  return false;
}

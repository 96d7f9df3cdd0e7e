#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSysInfo>

#include "app/SingleInstanceLock.h"
#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "text/QtText.h"

namespace {

// A folder only this user can enter: a directory of ours, closed to group and others.
bool closedFolderOfOurs(const struct stat& info) {
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// Where the lock and the socket live. A folder another user can write to (the
// temporary folder) would let them plant a file or a socket under our names and
// keep us from starting, or read the paths we hand over.
QString lockFolder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  struct stat info {};
  if (!runtime.isEmpty()) {
    if (::stat(runtime.constData(), &info) == 0 && closedFolderOfOurs(info))
      return QFile::decodeName(runtime);
    log_info("SingleInstanceLock, XDG_RUNTIME_DIR is not a folder closed to other users, not used:" +
             runtime.toStdString());
  }
  // Per machine: a home shared over the network must not join two machines' copies.
  const QString folder = to_qstring(get_app_data_base_dir()) + "/run-" + QSysInfo::machineHostName();
  const QByteArray path = QFile::encodeName(folder);
  ::mkdir(path.constData(), 0700);
  if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    log_info("SingleInstanceLock, no folder of our own for the lock:" + folder.toStdString());
    return QString();
  }
  if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) {
    log_info("SingleInstanceLock, the lock's folder cannot be closed to others:" + folder.toStdString());
    return QString();
  }
  return folder;
}

// Opens the lock file, never following a link nor blocking on a pipe; anything
// at its name that is not a regular file of ours is removed and made afresh.
int openLockFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) return fd;
    if (fd >= 0) ::close(fd);
    log_info("SingleInstanceLock, not a lock file of ours, replaced:" + path.toStdString());
    if (::unlink(name.constData()) != 0) ::rmdir(name.constData());
  }
  return -1;
}

}  // namespace

struct SingleInstanceLock::Platform {
  QString key;
  QString folder;
  int fd = -1;
};

SingleInstanceLock::SingleInstanceLock(const QString& key, const QString&) : platform_(new Platform) {
  platform_->key = key;
  platform_->folder = lockFolder();
}

SingleInstanceLock::~SingleInstanceLock() {
  // Closing drops the lock. The file stays: removing it could let a later start
  // lock a new file while a third one still waits on this one.
  if (platform_->fd >= 0) ::close(platform_->fd);
}

bool SingleInstanceLock::acquire() {
  if (platform_->folder.isEmpty()) return true;  // said why; better two copies than none
  const QString path = platform_->folder + "/" + platform_->key + ".lock";
  const int fd = openLockFile(path);
  if (fd < 0) {
    log_info("SingleInstanceLock, the lock cannot be made, starting without it:" + path.toStdString());
    return true;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    platform_->fd = fd;
    return true;
  }
  const int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK) return false;
  log_info("SingleInstanceLock, the lock cannot be taken, starting without it:" + path.toStdString());
  return true;
}

QString SingleInstanceLock::socketName(const QString& name) const {
  // Without a folder of ours there is no safe place: no socket, and a later start
  // then reports a copy out of reach.
  return platform_->folder.isEmpty() ? QString() : platform_->folder + "/" + name;
}

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "app/InstanceMessenger.h"

bool InstanceMessenger::belongsToThisUser() const {
  // The folder is closed to other users; this also refuses a stray file of our own.
  struct stat info {};
  return ::lstat(QFile::encodeName(name_).constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
         info.st_uid == ::geteuid();
}

void InstanceMessenger::rememberSocket() {
  struct stat info {};
  socketIdentity_ =
      ::lstat(QFile::encodeName(name_).constData(), &info) == 0 ? static_cast<quint64>(info.st_ino) : 0;
}

bool InstanceMessenger::socketStillThere() const {
  struct stat info {};
  return ::lstat(QFile::encodeName(name_).constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
         static_cast<quint64>(info.st_ino) == socketIdentity_;
}

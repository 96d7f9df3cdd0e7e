#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/ExclusiveFile.h"
#include "text/QtText.h"

namespace {
int fd(intptr_t native) { return static_cast<int>(native); }
}  // namespace

ExclusiveFile::~ExclusiveFile() {
  if (native_ >= 0) ::close(fd(native_));
}

CreateOutcome ExclusiveFile::Create(const std::string& path, std::string* error) {
  if (native_ >= 0) ::close(fd(native_));
  path_ = path;
  // Never inherited: the encoder reaches the file by its /proc name alone.
  native_ = ::open(QFile::encodeName(to_qstring(path)).constData(),
                   O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (native_ >= 0) return CreateOutcome::Created;
  const int code = errno;
  if (error != nullptr) *error = std::strerror(code);
  return code == EEXIST ? CreateOutcome::Exists : CreateOutcome::Failed;
}

std::string ExclusiveFile::PathForOthers() const {
  const std::string entry = "/proc/" + std::to_string(::getpid()) + "/fd/" + std::to_string(native_);
  // Without a /proc (a bare container) the name is all there is; IsAt checks it later.
  return native_ >= 0 && ::access(entry.c_str(), F_OK) == 0 ? entry : path_;
}

bool ExclusiveFile::IsAt(const std::string& path) const {
  struct stat ours {
  }, named{};
  return native_ >= 0 && ::fstat(fd(native_), &ours) == 0 &&
         ::lstat(QFile::encodeName(to_qstring(path)).constData(), &named) == 0 && S_ISREG(named.st_mode) &&
         ours.st_dev == named.st_dev && ours.st_ino == named.st_ino;
}

int64_t ExclusiveFile::Size() const {
  struct stat ours {};
  if (native_ < 0 || ::fstat(fd(native_), &ours) != 0) return -1;
  return static_cast<int64_t>(ours.st_size);
}

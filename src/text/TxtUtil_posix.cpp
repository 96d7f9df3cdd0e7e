#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <cerrno>

#include "text/QtText.h"
#include "text/TxtUtil.h"

TxtUtil::FileRead TxtUtil::readRegularFile(const std::string& path, int64_t maxBytes, std::string& bytes) {
  bytes.clear();
  const QByteArray name = QFile::encodeName(to_qstring(path));
  // Decided before opening: opening a FIFO blocks, and opening a device may act.
  struct stat seen {};
  if (::stat(name.constData(), &seen) != 0)
    return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
  if (!S_ISREG(seen.st_mode)) return FileRead::NotRegular;
  if (seen.st_size > maxBytes) return FileRead::TooLarge;

  // Non-blocking and checked again: the entry may have been swapped meanwhile.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
  FileRead outcome = FileRead::Ok;
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) {
    outcome = FileRead::Unreadable;
  } else if (!S_ISREG(opened.st_mode)) {
    outcome = FileRead::NotRegular;
  } else {
    // A file that grows while it is read is still cut off past the limit.
    char buffer[65536];
    for (;;) {
      const ssize_t count = ::read(fd, buffer, sizeof(buffer));
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) {
        outcome = FileRead::Unreadable;
        break;
      }
      if (count == 0) break;
      bytes.append(buffer, static_cast<size_t>(count));
      if (static_cast<int64_t>(bytes.size()) > maxBytes) {
        outcome = FileRead::TooLarge;
        break;
      }
    }
  }
  ::close(fd);
  if (outcome != FileRead::Ok) bytes.clear();
  return outcome;
}

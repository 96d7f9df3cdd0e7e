#include <utime.h>

#include "FolderTime.h"

bool set_folder_modified(const QString& path, const QDateTime& modified) {
  const utimbuf times{modified.toSecsSinceEpoch(), modified.toSecsSinceEpoch()};
  return utime(path.toUtf8().constData(), &times) == 0;
}

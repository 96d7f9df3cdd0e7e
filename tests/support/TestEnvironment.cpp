#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir>& home_dir() {
  static std::unique_ptr<QTemporaryDir> dir;
  return dir;
}
}  // namespace

void isolate_user_folders() {
  auto& dir = home_dir();
  dir.reset(new QTemporaryDir(QDir::tempPath() + "/kovadle-test-XXXXXX"));
  const QString home = dir->path();
  for (const char* sub : {"data", "config", "cache", "Videos"}) QDir(home).mkpath(sub);
  point_user_folders_at(home);
  qputenv("KOVADLE_BACKEND_URL", QByteArray::fromStdString(unreachable_backend_url()));
}

std::string isolated_home() { return home_dir() ? home_dir()->path().toStdString() : std::string(); }

std::string make_temp_folder(const std::string& prefix) {
  static int counter = 0;
  const QString path = QString::fromStdString(isolated_home()) + "/" + QString::fromStdString(prefix) + "-" +
                       QString::number(++counter);
  QDir(path).removeRecursively();
  QDir().mkpath(path);
  return path.toStdString();
}

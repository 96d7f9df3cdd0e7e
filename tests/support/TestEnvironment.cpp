#include "TestEnvironment.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
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
  setenv("HOME", home.toUtf8().constData(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").toUtf8().constData(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").toUtf8().constData(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").toUtf8().constData(), 1);
  setenv("KOVADLE_BACKEND_URL", unreachable_backend_url().c_str(), 1);
}

std::string unreachable_backend_url() {
  // A port the system just handed out and took back: nothing listens there.
  int port = 9;
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd >= 0) close(fd);
  return "https://127.0.0.1:" + std::to_string(port) + "/KovadleBackend/v1";
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

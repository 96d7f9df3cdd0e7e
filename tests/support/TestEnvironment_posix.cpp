#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestEnvironment.h"

void point_user_folders_at(const QString& home) {
  setenv("HOME", home.toUtf8().constData(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").toUtf8().constData(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").toUtf8().constData(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").toUtf8().constData(), 1);
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

void isolate_desktop_session() {
  // No test may reach the desktop's own session bus; the ones that need a bus start a private daemon.
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + isolated_home() + "/no-session-bus").c_str(), 1);
  const std::string runtime = isolated_home() + "/runtime";
  mkdir(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

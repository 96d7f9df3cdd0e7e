#include <winsock2.h>

#include <QStandardPaths>

#include "TestEnvironment.h"

// Windows takes the per-user folders from the shell, not from the environment. Qt's
// test mode moves the program's data below a "qttest" folder of its own; under Wine
// the whole profile lives in the throwaway prefix the test script makes.
void point_user_folders_at(const QString&) { QStandardPaths::setTestModeEnabled(true); }

std::string unreachable_backend_url() {
  // A port the system just handed out and took back: nothing listens there.
  int port = 9;
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return "https://127.0.0.1:9/KovadleBackend/v1";
  const SOCKET fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (fd != INVALID_SOCKET && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd != INVALID_SOCKET) closesocket(fd);
  WSACleanup();
  return "https://127.0.0.1:" + std::to_string(port) + "/KovadleBackend/v1";
}

// No session bus or runtime folder to keep a test away from.
void isolate_desktop_session() {}

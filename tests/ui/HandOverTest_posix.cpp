#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "HandOverTestSupport.h"

namespace {

int open_descriptors() {
  int count = 0;
  if (DIR* folder = ::opendir("/proc/self/fd")) {
    while (::readdir(folder) != nullptr) ++count;
    ::closedir(folder);
  }
  return count;
}

}  // namespace

// Connections that say nothing cost the running copy a few descriptors for a few
// seconds; neither they nor a lost socket keep a later start out.
TEST(HandOver, SilentConnectionsDoNotPileUpAndALostSocketIsMadeAgain) {
  const QString name = socket_name("silent");
  InstanceMessenger running(name);
  ASSERT_TRUE(running.listen());
  running.setReady();
  QList<QStringList> received;
  QObject::connect(&running, &InstanceMessenger::filesReceived,
                   [&](const QStringList& files) { received << files; });

  const int before = open_descriptors();
  std::vector<std::unique_ptr<Client>> silent;
  for (int i = 0; i < 300; ++i) silent.push_back(std::make_unique<Client>(name));
  wait_until([] { return false; }, 1500);
  // The clients' own 300, and only a few held by the running copy.
  EXPECT_LT(open_descriptors() - before, 300 + 20);
  EXPECT_TRUE(send_from_later_start(name, {"/videos/a.mp4"}));
  EXPECT_TRUE(wait_until(
      [&] {
        return std::all_of(silent.begin(), silent.end(), [](auto& c) { return c->outcome() == "closed"; });
      },
      15000));
  silent.clear();

  // The name removed.
  ASSERT_TRUE(QFile::remove(name));
  EXPECT_TRUE(send_from_later_start(name, {"/videos/b.mp4"}));

  // No descriptor left when a connection comes: accepting fails and Qt closes the server.
  const int caller = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, QFile::encodeName(name).constData(), sizeof(address.sun_path) - 1);
  const int lowest_free = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(lowest_free, 0);
  ::close(lowest_free);
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  const rlimit exhausted{rlim_t(lowest_free), limit.rlim_max};
  const int lost_before = log_lines_with("the hand-over socket was lost");
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &exhausted), 0);
  ::connect(caller, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  wait_until([] { return false; }, 300);
  ::setrlimit(RLIMIT_NOFILE, &limit);
  ::close(caller);
  EXPECT_TRUE(send_from_later_start(name, {"/videos/c.mp4"}));
  EXPECT_EQ(log_lines_with("the hand-over socket was lost"), lost_before + 1);
  EXPECT_EQ(received, (QList<QStringList>{{"/videos/a.mp4"}, {"/videos/b.mp4"}, {"/videos/c.mp4"}}));
}

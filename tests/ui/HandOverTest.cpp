// The running copy's side of the hand-over socket, fed by hand: whatever a
// connection sends, the window's process stays up and the next start still gets
// through.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "HandOverTestSupport.h"

TEST(HandOver, MalformedRequestsAreDroppedAndTheRunningCopyGoesOn) {
  const QString name = socket_name("malformed");
  InstanceMessenger running(name);
  ASSERT_TRUE(running.listen());
  QList<QStringList> received;
  QObject::connect(&running, &InstanceMessenger::filesReceived,
                   [&](const QStringList& files) { received << files; });
  // Taken before the window is ready, delivered once it is.
  Client early(name, request({"/videos/early.mp4"}));
  ASSERT_TRUE(wait_until([&] { return early.outcome() == "K"; }, 5000));
  EXPECT_TRUE(received.isEmpty());
  running.setReady();
  EXPECT_EQ(received, QList<QStringList>{{"/videos/early.mp4"}});
  received.clear();

  const QByteArray valid = request({"/videos/a.mp4"});
  QByteArray lying_count = request({"/videos/a.mp4"});
  lying_count.replace(12, 4, number(268435456));
  QByteArray long_name = request({"/videos/a.mp4"});
  long_name.replace(16, 4, number(1000));
  // Closed at once, for what they are.
  const auto closed = [&name](const std::vector<QByteArray>& requests, int within_ms) {
    std::vector<std::unique_ptr<Client>> clients;
    for (const QByteArray& bytes : requests) clients.push_back(std::make_unique<Client>(name, bytes));
    wait_until(
        [&] {
          return std::all_of(clients.begin(), clients.end(), [](auto& c) { return c->outcome() != "open"; });
        },
        within_ms);
    QStringList outcomes;
    for (auto& client : clients) outcomes << client->outcome();
    return outcomes.join(' ');
  };
  EXPECT_EQ(
      closed(
          {// The form a copy of an earlier build sent: magic, then a string list's count.
           number(0x4B564F31) + number(268435456) + number(0xFFFFFFFF),
           request({"/videos/a.mp4"}, 0x4B564F33),  // all right but for the magic
           request({"/videos/a.mp4"}, kHandOverMagic, 2),
           number(kHandOverMagic) + number(1) + number(0xFFFFFFF0), lying_count, long_name, valid + valid},
          3000),
      QString("closed closed closed closed closed closed closed"));
  // Closed when their few seconds are up: too short, cut off, nothing at all.
  EXPECT_EQ(closed({"hello", "text 1000", valid.left(valid.size() - 1), QByteArray()}, 15000),
            QString("closed closed closed closed"));
  EXPECT_TRUE(received.isEmpty());

  EXPECT_TRUE(send_from_later_start(name, {"/videos/b.mp4", QString::fromUtf8("/videos/视频 <b>.mkv")}));
  EXPECT_TRUE(send_from_later_start(name, {}));  // "show yourself"
  EXPECT_EQ(received, (QList<QStringList>{{"/videos/b.mp4", QString::fromUtf8("/videos/视频 <b>.mkv")}, {}}));
}

#pragma once

// Feeding the running copy's hand-over socket by hand, and a later start's side.

#include <QLocalSocket>
#include <QtEndian>
#include <atomic>
#include <thread>

#include "WindowTestSupport.h"
#include "app/InstanceMessenger.h"
#include "app/SingleInstanceLock.h"

inline QByteArray number(quint32 value) {
  QByteArray bytes(4, '\0');
  qToBigEndian(value, bytes.data());
  return bytes;
}

inline const quint32 kHandOverMagic = 0x4B564F32;

// A request as a later start writes it: magic, form, size, then the count and the names.
inline QByteArray request(const QStringList& files, quint32 magic = kHandOverMagic, quint32 form = 1) {
  QByteArray body = number(quint32(files.size()));
  for (const QString& file : files) body += number(quint32(file.toUtf8().size())) + file.toUtf8();
  return number(magic) + number(form) + number(quint32(body.size())) + body;
}

inline QString socket_name(const char* name) {
  return SingleInstanceLock(QStringLiteral("Kovadle"), QStringLiteral("KovadleObject")).socketName(name);
}

// A connection of the test's own, served by the event loop of this thread.
struct Client {
  QLocalSocket socket;
  explicit Client(const QString& name, const QByteArray& bytes = {}) {
    socket.connectToServer(name);
    if (!bytes.isEmpty()) socket.write(bytes);
  }
  // "K" when the request was taken, "closed" when the connection was closed without
  // an answer, "open" while it is neither.
  QString outcome() {
    if (socket.bytesAvailable() > 0) return QString::fromLatin1(socket.peek(16));
    return socket.state() == QLocalSocket::UnconnectedState ? "closed" : "open";
  }
};

// Runs a later start's send() on a thread of its own while this one serves.
inline bool send_from_later_start(const QString& name, const QStringList& files) {
  std::atomic<bool> done{false}, sent{false};
  std::thread later([&] {
    InstanceMessenger messenger(name);
    sent = messenger.send(files, 10000);
    done = true;
  });
  wait_until([&] { return done.load(); }, 20000);
  later.join();
  return sent;
}

#include "app/InstanceMessenger.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>

#include "log/LogUtil.h"

namespace {
const quint32 kMagic = 0x4B564F31;  // "KVO1"
const char kConfirmation = 'K';
// Far more than any list of paths; a larger request is not ours.
const qint64 kLargestRequest = 4 * 1024 * 1024;
const int kSocketAppearsMs = 3000;
}  // namespace

InstanceMessenger::InstanceMessenger(const QString& key, QObject* parent)
    : QObject(parent), name_(nameFor(key)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceMessenger::takeConnection);
}

bool InstanceMessenger::listen() {
  // Only the copy holding the lock listens, so a socket already there was left by
  // one that died.
  QLocalServer::removeServer(name_);
  if (server_.listen(name_)) return true;
  log_info("InstanceMessenger, cannot listen on " + name_.toStdString() + ":" +
           server_.errorString().toStdString());
  return false;
}

void InstanceMessenger::setReady() {
  ready_ = true;
  const QList<QStringList> waiting = pending_;
  pending_.clear();
  for (const QStringList& files : waiting) emit filesReceived(files);
}

void InstanceMessenger::takeConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->bytesAvailable() > kLargestRequest) {
        socket->abort();
        return;
      }
      QDataStream in(socket);
      in.setVersion(QDataStream::Qt_5_12);
      in.startTransaction();
      quint32 magic = 0;
      QStringList files;
      in >> magic >> files;
      if (!in.commitTransaction()) return;  // the rest is still on its way
      if (magic != kMagic) {
        socket->abort();
        return;
      }
      socket->write(&kConfirmation, 1);
      socket->flush();
      log_info("InstanceMessenger, a later start handed over " + std::to_string(files.size()) + " file(s).");
      if (ready_) {
        emit filesReceived(files);
      } else {
        pending_ << files;
      }
    });
  }
}

bool InstanceMessenger::send(const QStringList& files, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  // The running copy listens right after taking the lock: a socket that is not
  // there soon will not come.
  QDeadlineTimer appears(std::min(timeoutMs, kSocketAppearsMs));
  QLocalSocket socket;
  for (;;) {
    if (belongsToThisUser()) {
      socket.connectToServer(name_);
      if (socket.waitForConnected(500)) break;
    }
    if (appears.hasExpired()) {
      log_info("InstanceMessenger, the running copy cannot be reached on " + name_.toStdString());
      return false;
    }
    QThread::msleep(100);
  }
  QByteArray request;
  QDataStream out(&request, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_5_12);
  out << kMagic << files;
  socket.write(request);
  socket.flush();
  // It answers from its event loop, which may be busy building its window.
  while (socket.bytesAvailable() < 1) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) {
      log_info("InstanceMessenger, the running copy did not confirm the hand-over.");
      return false;
    }
  }
  char answer = 0;
  return socket.getChar(&answer) && answer == kConfirmation;
}

#include "app/InstanceMessenger.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>

#include "log/LogUtil.h"

namespace {

// A request: a 12-byte header (this magic, the form's version and the size of what
// follows, big-endian), then the number of files and each file's UTF-8 name after
// its size. The answer is one byte.
const quint32 kMagic = 0x4B564F32;  // "KVO2"
const quint32 kVersion = 1;
const char kConfirmation = 'K';
const int kHeaderSize = 12;
// Far more than any list of paths; a longer list goes in several requests.
const quint32 kLargestBody = 4 * 1024 * 1024;
// A connection has this long to bring a whole request.
const int kConnectionDeadlineMs = 5000;
// Connections served at once; a further one closes the oldest.
const int kMostConnections = 8;
const int kWatchEveryMs = 1000;
const int kSocketAppearsMs = 3000;

quint32 numberAt(const char* at) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(at);
  return quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 | quint32(bytes[3]);
}

void appendNumber(QByteArray& out, quint32 value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += char((value >> shift) & 0xFF);
}

QByteArray requestOf(quint32 count, const QByteArray& names) {
  QByteArray request;
  appendNumber(request, kMagic);
  appendNumber(request, kVersion);
  appendNumber(request, quint32(4 + names.size()));
  appendNumber(request, count);
  return request + names;
}

// The requests that carry the files, each within the size a request may have.
QList<QByteArray> requestsFor(const QStringList& files) {
  QList<QByteArray> requests;
  QByteArray names;
  quint32 count = 0;
  for (const QString& file : files) {
    const QByteArray name = file.toUtf8();
    if (8 + quint32(name.size()) > kLargestBody) {
      log_info("InstanceMessenger, a name too long to hand over was left out.");
      continue;
    }
    if (4 + quint32(names.size()) + 4 + quint32(name.size()) > kLargestBody) {
      requests << requestOf(count, names);
      names.clear();
      count = 0;
    }
    appendNumber(names, quint32(name.size()));
    names += name;
    ++count;
  }
  if (count > 0 || requests.isEmpty()) requests << requestOf(count, names);
  return requests;
}

// The files of a request's body; false when the body is not of the form known.
bool filesIn(const QByteArray& body, QStringList* files) {
  if (body.size() < 4) return false;
  const quint32 count = numberAt(body.constData());
  // Each name takes at least its size's four bytes: a count the body cannot hold is
  // refused before anything is made for it.
  if (count > quint32(body.size() - 4) / 4) return false;
  int at = 4;
  for (quint32 i = 0; i < count; ++i) {
    if (body.size() - at < 4) return false;
    const quint32 size = numberAt(body.constData() + at);
    at += 4;
    if (size > quint32(body.size() - at)) return false;
    files->append(QString::fromUtf8(body.constData() + at, int(size)));
    at += int(size);
  }
  return at == body.size();
}

}  // namespace

InstanceMessenger::InstanceMessenger(const QString& serverName, QObject* parent)
    : QObject(parent), name_(serverName) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceMessenger::takeConnection);
  connect(&watch_, &QTimer::timeout, this, &InstanceMessenger::keepListening);
}

bool InstanceMessenger::listen() {
  if (name_.isEmpty()) {
    log_info("InstanceMessenger, no place for the hand-over socket; later starts cannot reach this copy.");
    return false;
  }
  // Tried again while the program runs, whatever happened to the socket.
  watch_.start(kWatchEveryMs);
  server_.close();
  // Only the copy holding the lock listens, so whatever is under the name was left
  // by one that died.
  QLocalServer::removeServer(name_);
  if (server_.listen(name_)) {
    rememberSocket();
    lost_ = false;
    return true;
  }
  if (!lost_)
    log_info("InstanceMessenger, cannot listen on " + name_.toStdString() + ":" +
             server_.errorString().toStdString() + "; trying again while running.");
  lost_ = true;
  return false;
}

void InstanceMessenger::keepListening() {
  // Closed by Qt when accepting fails (no descriptor left), or the name removed.
  if (server_.isListening() && socketStillThere()) return;
  if (!lost_)
    log_info("InstanceMessenger, the hand-over socket was lost; listening again on " + name_.toStdString());
  lost_ = true;
  listen();
}

void InstanceMessenger::setReady() {
  ready_ = true;
  const QList<QStringList> waiting = pending_;
  pending_.clear();
  for (const QStringList& files : waiting) emit filesReceived(files);
}

void InstanceMessenger::takeConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    if (connections_.size() >= kMostConnections)
      drop(connections_.first(), "too many at once, the oldest is closed");
    connections_ << socket;
    // What a request may hold and no more is read from the system.
    socket->setReadBufferSize(kHeaderSize + qint64(kLargestBody) + 1);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this, socket] { connections_.removeOne(socket); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    QTimer::singleShot(kConnectionDeadlineMs, socket, [this, socket] {
      if (connections_.contains(socket)) {
        drop(socket, "no whole request in time");
      } else {
        socket->abort();  // answered, and the other side keeps it open
      }
    });
    readRequest(socket);
  }
}

void InstanceMessenger::readRequest(QLocalSocket* socket) {
  if (!connections_.contains(socket) || socket->bytesAvailable() < kHeaderSize) return;
  char header[kHeaderSize];
  socket->peek(header, kHeaderSize);
  if (numberAt(header) != kMagic) return drop(socket, "not a hand-over of this program");
  if (numberAt(header + 4) != kVersion)
    return drop(socket, "a hand-over of an unknown form (" + std::to_string(numberAt(header + 4)) + ")");
  const quint32 size = numberAt(header + 8);
  if (size > kLargestBody) return drop(socket, "a hand-over of " + std::to_string(size) + " bytes");
  const qint64 whole = kHeaderSize + qint64(size);
  if (socket->bytesAvailable() < whole) return;  // the rest is on its way
  if (socket->bytesAvailable() > whole) return drop(socket, "more than one request");
  QStringList files;
  if (!filesIn(socket->read(whole).mid(kHeaderSize), &files))
    return drop(socket, "a hand-over whose list does not match its size");
  connections_.removeOne(socket);
  socket->write(&kConfirmation, 1);
  socket->disconnectFromServer();  // once the answer is written
  log_info("InstanceMessenger, a later start handed over " + std::to_string(files.size()) + " file(s).");
  if (ready_) {
    emit filesReceived(files);
  } else {
    pending_ << files;
  }
}

void InstanceMessenger::drop(QLocalSocket* socket, const std::string& why) {
  log_info("InstanceMessenger, a connection was closed: " + why + ".");
  connections_.removeOne(socket);
  socket->abort();
  socket->deleteLater();
}

bool InstanceMessenger::send(const QStringList& files, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  // The running copy listens right after taking the lock: a socket that is not
  // there soon will not come.
  QDeadlineTimer appears(std::min(timeoutMs, kSocketAppearsMs));
  bool reached = false;
  for (const QByteArray& request : requestsFor(files)) {
    // A busy copy may close a connection among many: it is tried again.
    while (!handOver(request, int(deadline.remainingTime()), &reached)) {
      if (deadline.hasExpired() || (!reached && appears.hasExpired())) {
        log_info(reached ? std::string("InstanceMessenger, the running copy did not confirm the hand-over.")
                         : "InstanceMessenger, the running copy cannot be reached on " + name_.toStdString());
        return false;
      }
      QThread::msleep(100);
    }
  }
  return true;
}

bool InstanceMessenger::handOver(const QByteArray& request, int timeoutMs, bool* reached) const {
  if (name_.isEmpty() || !belongsToThisUser()) return false;
  QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(std::min(timeoutMs, 500))) return false;
  *reached = true;
  socket.write(request);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return false;
  }
  // It answers from its event loop, which may be busy building its window.
  while (socket.bytesAvailable() < 1) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) return false;
  }
  char answer = 0;
  return socket.getChar(&answer) && answer == kConfirmation;
}

#pragma once

#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QLocalSocket;

// The line between the running copy and a later start of the program: a local
// socket beside the single-instance lock, open to the same user only. A later
// start hands over the files it was given (none: "show yourself") and ends; the
// running copy takes them as if they had been dropped on its window.
//
// Whatever arrives on the socket, the running copy stays up: a message is read
// only when it is whole, of the size its header gives (4 MiB at most) and of the one
// form known, anything else is dropped with a log line; each connection has a few
// seconds, a few connections are served at once, and the socket is made again when
// it is lost.
class InstanceMessenger : public QObject {
  Q_OBJECT

 public:
  // serverName: the socket's full name (SingleInstanceLock::socketName).
  explicit InstanceMessenger(const QString& serverName, QObject* parent = nullptr);

  // The running copy: listens for later starts. Requests that come before
  // setReady() are kept and delivered then. False (and a log line) when it cannot;
  // it tries again while it runs.
  bool listen();
  void setReady();

  // A later start: hands the files over and waits up to timeoutMs for the running
  // copy to confirm. False when nobody answered in time.
  bool send(const QStringList& files, int timeoutMs);

  QString serverName() const { return name_; }

 signals:
  // Files to add; an empty list asks to bring the window to the front.
  void filesReceived(QStringList files);

 private:
  void takeConnection();
  void readRequest(QLocalSocket* socket);
  void drop(QLocalSocket* socket, const std::string& why);
  // Listens again when the socket was closed or its name taken away.
  void keepListening();
  // One request and its confirmation; false when the running copy did not take it.
  bool handOver(const QByteArray& request, int timeoutMs, bool* reached) const;
  // True when the socket found under the name may be trusted with our files.
  bool belongsToThisUser() const;
  // The socket made by listen() is still the one under the name.
  void rememberSocket();
  bool socketStillThere() const;

  QString name_;
  QList<QLocalSocket*> connections_;  // oldest first
  bool ready_ = false;
  bool lost_ = false;
  QList<QStringList> pending_;
  quint64 socketIdentity_ = 0;
  QTimer watch_;
  // Last, so it goes first: its connections still find the list they leave.
  QLocalServer server_;
};

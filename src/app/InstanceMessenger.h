#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

// The line between the running copy and a later start of the program: a local
// socket beside the single-instance lock, open to the same user only. A later
// start hands over the files it was given (none: "show yourself") and ends; the
// running copy takes them as if they had been dropped on its window.
class InstanceMessenger : public QObject {
  Q_OBJECT

 public:
  // key: the name the socket is made from (made per user like the lock's keys).
  explicit InstanceMessenger(const QString& key, QObject* parent = nullptr);

  // The running copy: listens for later starts. Requests that come before
  // setReady() are kept and delivered then. False (and a log line) when it cannot.
  bool listen();
  void setReady();

  // A later start: hands the files over and waits up to timeoutMs for the running
  // copy to confirm. False when nobody answered in time.
  bool send(const QStringList& files, int timeoutMs);

  // The socket's name (a path on Unix, a pipe name on Windows).
  QString serverName() const { return name_; }

 signals:
  // Files to add; an empty list asks to bring the window to the front.
  void filesReceived(QStringList files);

 private:
  void takeConnection();
  // True when the socket found under the name may be trusted with our files.
  bool belongsToThisUser() const;
  static QString nameFor(const QString& key);

  QString name_;
  QLocalServer server_;
  bool ready_ = false;
  QList<QStringList> pending_;
};

#pragma once

#include <QObject>
#include <memory>

// Turns a request to terminate into a normal end of the Qt event loop
// (QCoreApplication::quit): SIGTERM (log-out, shutdown, kill) and SIGINT (Ctrl+C);
// on Windows the console's Ctrl+C, Ctrl+Break and close events. The program then
// leaves through its usual exit path (jobs stopped, log flushed, no crash marker)
// instead of dying on the spot. One watcher at a time; it puts the previous
// handling back when it goes.
class QuitSignalWatcher : public QObject {
  Q_OBJECT

 public:
  explicit QuitSignalWatcher(QObject* parent = nullptr);
  ~QuitSignalWatcher() override;
  QuitSignalWatcher(const QuitSignalWatcher&) = delete;
  QuitSignalWatcher& operator=(const QuitSignalWatcher&) = delete;

  // The first signal that asked for the end (SIGINT or SIGTERM), 0 while none. Set
  // the moment it arrives, before the event loop has seen it: a caller that has not
  // entered its loop yet should check it first, since a quit before exec() is lost.
  int ReceivedSignal() const;

 signals:
  // Emitted on the watcher's thread, once, just before the quit.
  void signalReceived(int signal);

 private:
  // Runs on the watcher's thread once the platform side has seen a signal.
  void announce();

  struct Platform;
  std::unique_ptr<Platform> platform_;
  bool announced_ = false;
};

#pragma once

#include <QObject>
#include <memory>

// Turns the terminal's request to suspend the program (SIGTSTP: Ctrl+Z) into an
// event of the Qt event loop. The program's children run in process groups of
// their own, which the terminal's signal does not reach: the program holds them
// itself, then stops itself (StopSelf) as the request would have, and lets them go
// on once it is continued (fg, bg). Nothing happens on Windows, which has no such
// request. One watcher at a time; it puts the previous handling back when it goes.
class SuspendSignalWatcher : public QObject {
  Q_OBJECT

 public:
  explicit SuspendSignalWatcher(QObject* parent = nullptr);
  ~SuspendSignalWatcher() override;
  SuspendSignalWatcher(const SuspendSignalWatcher&) = delete;
  SuspendSignalWatcher& operator=(const SuspendSignalWatcher&) = delete;

  // Stops the program the way the terminal's request does by default (the shell
  // then reports it stopped) and returns once it is continued; at once where the
  // system would not stop it (a process group no shell can continue).
  void StopSelf();

 signals:
  // The terminal asked the program to suspend; emitted on the watcher's thread.
  void suspendRequested();

 private:
  struct Platform;
  std::unique_ptr<Platform> platform_;
};

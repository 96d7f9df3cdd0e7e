#pragma once

#include <QObject>
#include <functional>

namespace Util {

// Lets a worker thread show a dialog on the interface thread and wait for it: the
// box object moves to the interface thread, shows the dialog there and deletes
// itself once the dialog has closed, which ends the worker's wait.
class ThreadInformationMessageBox : public QObject {
  Q_OBJECT

 public:
  // Shows the version-expired dialog (which ends the program) and returns once it
  // has closed. Called from a worker thread.
  static void ShowVersionExpired();

  // Runs show on the interface thread and returns once it has returned. Called
  // on the interface thread itself, show simply runs. A quitting program stops
  // the wait.
  static void show_and_wait(std::function<void()> show);

 public slots:
  void onShow2();

 private:
  explicit ThreadInformationMessageBox(std::function<void()> show);

  std::function<void()> show_;
};

}  // namespace Util

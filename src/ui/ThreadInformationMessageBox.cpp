#include "ui/ThreadInformationMessageBox.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

#include "ui/dialogs/VersionExpiredDialog.h"

namespace {

// Woken from the interface thread, directly rather than through the worker's
// events: once the application object starts going, no event reaches any thread.
struct Waiter {
  std::mutex lock;
  std::condition_variable changed;
  bool done = false;

  void finish() {
    {
      std::lock_guard<std::mutex> guard(lock);
      done = true;
    }
    changed.notify_all();
  }
};

}  // namespace

namespace Util {

ThreadInformationMessageBox::ThreadInformationMessageBox(std::function<void()> show)
    : show_(std::move(show)) {}

void ThreadInformationMessageBox::ShowVersionExpired() {
  show_and_wait(&VersionExpiredDialog::show_and_quit);
}

void ThreadInformationMessageBox::show_and_wait(std::function<void()> show) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;
  // Waiting here for a box of this very thread would never end.
  if (QThread::currentThread() == app->thread()) {
    show();
    return;
  }
  auto waiter = std::make_shared<Waiter>();
  auto* box = new ThreadInformationMessageBox(std::move(show));
  QObject::connect(box, &QObject::destroyed, [waiter] { waiter->finish(); });
  // A quitting program closes no more boxes: stop waiting then too, so the pool
  // this thread belongs to can finish.
  const QMetaObject::Connection quitting =
      QObject::connect(app, &QCoreApplication::aboutToQuit, [waiter] { waiter->finish(); });
  box->moveToThread(app->thread());
  QMetaObject::invokeMethod(box, &ThreadInformationMessageBox::onShow2, Qt::QueuedConnection);

  std::unique_lock<std::mutex> guard(waiter->lock);
  while (!waiter->done && !QCoreApplication::closingDown())
    waiter->changed.wait_for(guard, std::chrono::milliseconds(200));
  guard.unlock();
  QObject::disconnect(quitting);
}

void ThreadInformationMessageBox::onShow2() {
  show_();
  deleteLater();
}

}  // namespace Util

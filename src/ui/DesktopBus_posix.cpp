#include <QCoreApplication>
#include <QDBusError>
#include <QDeadlineTimer>
#include <QThread>

#include "log/LogUtil.h"
#include "text/QtText.h"
#include "ui/DesktopBus.h"

namespace {

const char* const kConnectionName = "kovadle-desktop";
// A bus that could not be reached is asked again only after this long.
const int kRetryAfterMs = 10000;
// At the end, work still queued (a release of keep-awake) gets this long; every call
// it makes is bounded well below it.
const unsigned long kDrainAtExitMs = 12000;

// Lives on the bus's thread; only that thread touches the connection.
class BusThread : public QThread {
 public:
  QObject* context = nullptr;

  // The connection to the bus at the address, which was the session's when the work was posted.
  QDBusConnection& connection(const QString& address) {
    if (bus_.isConnected() && address == address_) return bus_;
    if (address.isEmpty()) {
      // No autolaunch and no guessing: a bus started here would be nobody's desktop,
      // and starting one has hung the window before.
      if (!saidNoBus_) log_info("DesktopBus, DBUS_SESSION_BUS_ADDRESS is not set: no session bus.");
      saidNoBus_ = true;
      address_ = address;
      bus_ = QDBusConnection(QString());
      return bus_;
    }
    if (address == address_ && !retry_.hasExpired()) return bus_;
    saidNoBus_ = false;
    QDBusConnection::disconnectFromBus(QString::fromLatin1(kConnectionName));
    bus_ = QDBusConnection::connectToBus(address, QString::fromLatin1(kConnectionName));
    address_ = address;
    if (!bus_.isConnected()) {
      log_info("DesktopBus, the session bus cannot be reached:" + to_utf8(bus_.lastError().message()));
      retry_.setRemainingTime(kRetryAfterMs);
    }
    return bus_;
  }

  void closeConnection() {
    bus_ = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(QString::fromLatin1(kConnectionName));
  }

 private:
  QDBusConnection bus_{QString()};
  QString address_;
  QDeadlineTimer retry_{0};
  bool saidNoBus_ = false;
};

BusThread* g_thread = nullptr;

// Runs once the application object starts going: what is queued (a keep-awake
// release) still runs, then the connection closes and the thread ends.
void stopBusThread() {
  BusThread* thread = g_thread;
  g_thread = nullptr;
  QMetaObject::invokeMethod(thread->context, [thread] {
    thread->closeConnection();
    thread->quit();
  });
  // A thread stuck past every bound is left to the process's end rather than destroyed running.
  if (!thread->wait(kDrainAtExitMs)) return;
  delete thread->context;
  delete thread;
}

BusThread* busThread() {
  if (g_thread == nullptr && QCoreApplication::instance() != nullptr) {
    g_thread = new BusThread;
    g_thread->setObjectName(QStringLiteral("desktop bus"));
    g_thread->context = new QObject;
    g_thread->context->moveToThread(g_thread);
    g_thread->start();
    qAddPostRoutine(&stopBusThread);
  }
  return g_thread;
}

}  // namespace

void DesktopBus::post(std::function<void(QDBusConnection& bus)> work) {
  // Only the interface thread posts, so the thread is made once.
  BusThread* thread = busThread();
  if (thread == nullptr) return;
  const QString address = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
  QMetaObject::invokeMethod(thread->context,
                            [thread, address, work = std::move(work)] { work(thread->connection(address)); });
}

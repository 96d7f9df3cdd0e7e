#pragma once

// A private D-Bus session bus for tests: its own dbus-daemon, and a connection on
// which a test's stand-in desktop services answer from a thread of their own (the
// program's calls may block the calling thread).

#include <QDBusConnection>
#include <QProcess>
#include <QThread>

#include "support/TestEnvironment.h"

struct PrivateBus {
  QProcess daemon;
  QString address;
  QThread service_thread;

  PrivateBus() {
    daemon.start("dbus-daemon",
                 {"--session", "--nofork", "--print-address",
                  "--address=unix:path=" + QString::fromStdString(make_temp_folder("bus")) + "/bus"});
    // The daemon prints its address once it listens.
    while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
    }
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    service_thread.start();
  }
  ~PrivateBus() {
    QDBusConnection::disconnectFromBus("stand-in-desktop");
    service_thread.quit();
    service_thread.wait(10000);
    daemon.kill();
    daemon.waitForFinished(5000);
  }
  QDBusConnection services() { return QDBusConnection::connectToBus(address, "stand-in-desktop"); }
  // Serves the object at path under the service name, on the services' thread.
  bool serve(const QString& name, const QString& path, QObject* object) {
    object->moveToThread(&service_thread);
    return services().registerObject(path, object, QDBusConnection::ExportAllSlots) &&
           services().registerService(name);
  }
};

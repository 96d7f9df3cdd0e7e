#include "DBusTestBus.h"

#include <QElapsedTimer>

DBusTestBus::DBusTestBus(const QString& folder) {
  daemon_.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                 QStringLiteral("--address=unix:path=") + folder + QStringLiteral("/bus")});
  if (!daemon_.waitForStarted(10000)) return;
  QElapsedTimer clock;
  clock.start();
  // The daemon prints its address once it listens.
  while (!daemon_.canReadLine() && clock.elapsed() < 10000) daemon_.waitForReadyRead(200);
  if (daemon_.canReadLine()) address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

DBusTestBus::~DBusTestBus() {
  if (daemon_.state() == QProcess::NotRunning) return;
  daemon_.terminate();
  if (!daemon_.waitForFinished(5000)) {
    daemon_.kill();
    daemon_.waitForFinished(5000);
  }
}

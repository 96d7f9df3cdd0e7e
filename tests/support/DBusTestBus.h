#pragma once

#include <QProcess>
#include <QString>

// A private D-Bus session daemon on a socket in a temporary folder, stopped when
// this object goes. Tests connect to address() by name, never to a real bus.
class DBusTestBus {
 public:
  explicit DBusTestBus(const QString& folder);
  ~DBusTestBus();

  bool running() const { return !address_.isEmpty(); }
  QString address() const { return address_; }

 private:
  QProcess daemon_;
  QString address_;
};

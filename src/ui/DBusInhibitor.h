#pragma once

#include <QDBusConnection>
#include <QString>

// Asks the desktop on a D-Bus connection not to sleep or blank the screen, through
// the first inhibit service present, and withdraws the request when destroyed.
// Without a bus or a service nothing happens beyond a log line.
class DBusInhibitor {
 public:
  explicit DBusInhibitor(const QDBusConnection& bus);
  ~DBusInhibitor();
  DBusInhibitor(const DBusInhibitor&) = delete;
  DBusInhibitor& operator=(const DBusInhibitor&) = delete;

  bool active() const { return active_; }
  // The D-Bus service holding the request; empty when inactive.
  QString service() const { return active_ ? service_ : QString(); }

  // The session managers' inhibit flags: suspend (4) and idle (8).
  static constexpr unsigned kSessionManagerFlags = 4 | 8;

 private:
  QDBusConnection bus_;
  QString service_;
  QString path_;
  QString interface_;
  QString release_method_;
  unsigned cookie_ = 0;
  bool active_ = false;
};

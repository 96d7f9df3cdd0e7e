#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>
#include <string>

class QWidget;

// Desktop notifications ("Transcoding finished ..."): org.freedesktop.Notifications
// on Linux, the tray icon's balloon on Windows. Never waits for the desktop: with
// no service to show it, a notification is dropped with one log line.
class DesktopNotifier {
  Q_DECLARE_TR_FUNCTIONS(DesktopNotifier)

 public:
  explicit DesktopNotifier(QWidget* window);
  ~DesktopNotifier();
  DesktopNotifier(const DesktopNotifier&) = delete;
  DesktopNotifier& operator=(const DesktopNotifier&) = delete;

  void notify(const QString& title, const QString& body);

  // The notification of a job whose output is ready.
  void jobFinished(const std::string& outputFile);
  // The notification of a job that failed, with the reason when one is known.
  void jobFailed(const std::string& inputFile, const QString& reason);

 private:
  struct Platform;
  QWidget* window_;
  std::unique_ptr<Platform> platform_;
};

#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

// Shows the overall progress of the running jobs outside the tables: in front of
// the window title ("45% - ...") and on the task bar or dock entry where the
// desktop offers one (the Unity launcher entry signal on Linux, the task bar
// button's progress on Windows).
class DesktopProgress {
 public:
  explicit DesktopProgress(QWidget* window);
  ~DesktopProgress();
  DesktopProgress(const DesktopProgress&) = delete;
  DesktopProgress& operator=(const DesktopProgress&) = delete;

  // The fraction done (0 to 1), or none when no job runs, and what the whole queue
  // still takes (empty when not known). Cheap when unchanged.
  void show(std::optional<double> fraction, const QString& queueLeft = QString());

  // The title with the progress in front, in whole percent, then the queue's time left.
  static QString titleWith(const QString& title, std::optional<double> fraction,
                           const QString& queueLeft = QString());

 private:
  // The platform's task bar or dock entry.
  void showOnTaskBar(std::optional<double> fraction);

  struct Platform;
  QWidget* window_;
  QString baseTitle_;
  int shownPermille_ = -1;  // -1: nothing shown
  QString shownQueueLeft_;
  std::unique_ptr<Platform> platform_;
};

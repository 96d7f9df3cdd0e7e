#include <QIcon>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QWidget>

#include "log/LogUtil.h"
#include "text/QtText.h"
#include "ui/DesktopNotifier.h"

// The tray icon appears with the first notification and stays for the program's
// life; a click on it brings the window back.
struct DesktopNotifier::Platform {
  std::unique_ptr<QSystemTrayIcon> tray;
};

DesktopNotifier::DesktopNotifier(QWidget* window) : window_(window), platform_(new Platform) {}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::notify(const QString& title, const QString& body) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    log_info("DesktopNotifier, no notification area, not shown:" + to_utf8(title));
    return;
  }
  if (!platform_->tray) {
    QIcon icon = window_->windowIcon();
    // A tray entry without an icon is not shown at all.
    if (icon.isNull()) icon = window_->style()->standardIcon(QStyle::SP_MediaPlay);
    platform_->tray = std::make_unique<QSystemTrayIcon>(icon);
    platform_->tray->setToolTip(window_->windowTitle());
    QWidget* window = window_;
    QObject::connect(platform_->tray.get(), &QSystemTrayIcon::activated, window, [window] {
      window->showNormal();
      window->raise();
      window->activateWindow();
    });
    platform_->tray->show();
  }
  platform_->tray->showMessage(title, body, QSystemTrayIcon::Information, 10000);
}

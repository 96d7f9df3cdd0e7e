#include "ui/DesktopProgress.h"

#include <QWidget>
#include <cmath>

QString DesktopProgress::titleWith(const QString& title, std::optional<double> fraction) {
  if (!fraction) return title;
  return QString::number(static_cast<int>(std::floor(*fraction * 100))) + QStringLiteral("% - ") + title;
}

void DesktopProgress::show(std::optional<double> fraction) {
  const int permille = fraction ? static_cast<int>(std::floor(*fraction * 1000)) : -1;
  if (permille == shownPermille_) return;
  // The title as the window set it, before any figure was put in front.
  if (shownPermille_ < 0) baseTitle_ = window_->windowTitle();
  shownPermille_ = permille;
  window_->setWindowTitle(titleWith(baseTitle_, fraction));
  showOnTaskBar(fraction);
}

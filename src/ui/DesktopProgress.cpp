#include "ui/DesktopProgress.h"

#include <QWidget>
#include <cmath>

QString DesktopProgress::titleWith(const QString& title, std::optional<double> fraction,
                                   const QString& queueLeft) {
  if (!fraction) return title;
  const QString left = queueLeft.isEmpty() ? QString() : queueLeft + QStringLiteral(" - ");
  return QString::number(static_cast<int>(std::floor(*fraction * 100))) + QStringLiteral("% - ") + left +
         title;
}

void DesktopProgress::show(std::optional<double> fraction, const QString& queueLeft) {
  const int permille = fraction ? static_cast<int>(std::floor(*fraction * 1000)) : -1;
  const QString shownLeft = fraction ? queueLeft : QString();
  if (permille == shownPermille_ && shownLeft == shownQueueLeft_) return;
  // The title as the window set it, before any figure was put in front.
  if (shownPermille_ < 0) baseTitle_ = window_->windowTitle();
  const bool progressChanged = permille != shownPermille_;
  shownPermille_ = permille;
  shownQueueLeft_ = shownLeft;
  window_->setWindowTitle(titleWith(baseTitle_, fraction, shownLeft));
  if (progressChanged) showOnTaskBar(fraction);
}

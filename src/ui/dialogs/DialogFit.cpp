#include "ui/dialogs/DialogFit.h"

#include <QLayout>
#include <QWidget>

void DialogFit::GrowToFit(QWidget* window) {
  QLayout* layout = window->layout();
  if (layout == nullptr) return;
  layout->activate();
  const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(window->width())
                                                 : layout->totalSizeHint().height();
  if (needed > window->height()) window->resize(window->width(), needed);
}

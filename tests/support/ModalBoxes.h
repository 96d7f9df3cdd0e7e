#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Answers modal dialogs so no test hangs on one: every 50 ms each visible modal
// dialog is handed to on_box, then ended with its escape button (Ok in an
// information box, No or Cancel in a question) or rejected. Stops with parent.
inline void answer_modal_boxes(QObject* parent,
                               std::function<void(const QString& title, const QString& text)> on_box) {
  auto* timer = new QTimer(parent);
  QObject::connect(timer, &QTimer::timeout, [on_box] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(window);
      if (dialog == nullptr || !dialog->isVisible() || !dialog->isModal()) continue;
      auto* box = qobject_cast<QMessageBox*>(dialog);
      on_box(dialog->windowTitle(), box ? box->text() : QString());
      if (box && box->escapeButton()) {
        box->escapeButton()->click();
      } else {
        dialog->reject();
      }
    }
  });
  timer->start(50);
}

#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Every 50 ms hands each visible modal dialog to handle; a dialog it does not
// handle (returns false) is ended with its escape button (Ok in an information
// box, No or Cancel in a question) or rejected. Stops with parent.
inline void handle_modal_dialogs(QObject* parent, std::function<bool(QDialog* dialog)> handle) {
  auto* timer = new QTimer(parent);
  QObject::connect(timer, &QTimer::timeout, [handle] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(window);
      if (dialog == nullptr || !dialog->isVisible() || !dialog->isModal()) continue;
      if (handle(dialog)) continue;
      auto* box = qobject_cast<QMessageBox*>(dialog);
      if (box && box->escapeButton()) {
        box->escapeButton()->click();
      } else {
        dialog->reject();
      }
    }
  });
  timer->start(50);
}

// Answers modal dialogs so no test hangs on one: each is handed to on_box (with
// its text when it is a message box), then ended as above.
inline void answer_modal_boxes(QObject* parent,
                               std::function<void(const QString& title, const QString& text)> on_box) {
  handle_modal_dialogs(parent, [on_box](QDialog* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    on_box(dialog->windowTitle(), box ? box->text() : QString());
    return false;
  });
}

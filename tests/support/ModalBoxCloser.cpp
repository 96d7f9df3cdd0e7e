#include "ModalBoxCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

ModalBoxCloser::ModalBoxCloser(QObject* parent, int interval_ms,
                               std::function<void(const ClosedBox&)> on_close)
    : QObject(parent), on_close_(std::move(on_close)) {
  connect(&timer_, &QTimer::timeout, this, &ModalBoxCloser::close_modal_dialogs);
  timer_.start(interval_ms);
}

void ModalBoxCloser::close_modal_dialogs() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog == nullptr || !dialog->isVisible() || !dialog->isModal()) continue;
    ClosedBox record{dialog->windowTitle(), QString()};
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      record.text = box->text();
      closed_.push_back(record);
      if (on_close_) on_close_(record);
      if (QAbstractButton* answer = box->escapeButton()) {
        answer->click();
        continue;
      }
    } else {
      closed_.push_back(record);
      if (on_close_) on_close_(record);
    }
    dialog->reject();
  }
}

#include "ui/KeyboardShortcuts.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTableView>

void KeyboardShortcuts::install(QWidget* window, const Bindings& bindings) {
  auto* open = new QShortcut(QKeySequence::Open, window);
  QObject::connect(open, &QShortcut::activated, window, bindings.addVideo);
  auto* pause = new QShortcut(pauseAllKey(), window);
  QObject::connect(pause, &QShortcut::activated, window, bindings.pauseAll);
  for (QTableView* table : bindings.tables) {
    // Only while the table has the focus: elsewhere these keys mean something else.
    auto* remove = new QShortcut(QKeySequence::Delete, table, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(remove, &QShortcut::activated, window, bindings.deleteSelected);
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
      auto* property = new QShortcut(QKeySequence(key), table, nullptr, nullptr, Qt::WidgetShortcut);
      QObject::connect(property, &QShortcut::activated, window, bindings.openProperty);
    }
  }
  for (int i = 1; i < bindings.tabOrder.size(); ++i)
    QWidget::setTabOrder(bindings.tabOrder.at(i - 1), bindings.tabOrder.at(i));
}

QKeySequence KeyboardShortcuts::pauseAllKey() { return QKeySequence(Qt::CTRL | Qt::Key_P); }

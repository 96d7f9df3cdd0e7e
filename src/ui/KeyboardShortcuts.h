#pragma once

#include <QList>
#include <functional>

class QTableView;
class QWidget;

// The main window's keys: Ctrl+O adds a video, Delete deletes the selected job,
// Enter opens its Property, and Tab walks the controls in the given order.
class KeyboardShortcuts {
 public:
  struct Bindings {
    std::function<void()> addVideo;
    std::function<void()> deleteSelected;
    std::function<void()> openProperty;
    QList<QTableView*> tables;  // Delete and Enter act there
    QList<QWidget*> tabOrder;
  };

  static void install(QWidget* window, const Bindings& bindings);
};

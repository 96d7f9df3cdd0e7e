#pragma once

#include <QKeySequence>
#include <QList>
#include <functional>

class QTableView;
class QWidget;

// The main window's keys: Ctrl+O adds a video, Ctrl+P pauses every running job (or
// resumes the paused ones), Delete deletes the selected job, Enter opens its
// Property, and Tab walks the controls in the given order.
class KeyboardShortcuts {
 public:
  struct Bindings {
    std::function<void()> addVideo;
    std::function<void()> pauseAll;
    std::function<void()> deleteSelected;
    std::function<void()> openProperty;
    QList<QTableView*> tables;  // Delete and Enter act there
    QList<QWidget*> tabOrder;
  };

  static void install(QWidget* window, const Bindings& bindings);
  // Ctrl+P, shown beside the menu entry that does the same.
  static QKeySequence pauseAllKey();
};

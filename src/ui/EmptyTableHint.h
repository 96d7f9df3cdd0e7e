#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QTableView;

// A line of help drawn in the middle of a job table while it has no rows. It lets
// clicks and drops through to the table and the window.
class EmptyTableHint : public QObject {
  Q_OBJECT

 public:
  EmptyTableHint(QTableView* table, const QString& text);

  bool isShown() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void update();

  QTableView* table_;
  // Goes with the table's viewport, which a table being destroyed drops before
  // telling its model's listeners.
  QPointer<QLabel> label_;
};

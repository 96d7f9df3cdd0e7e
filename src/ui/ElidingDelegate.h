#pragma once

#include <QStyledItemDelegate>

// Cuts a column's texts where their distinguishing part is not: output names end in
// "_2.mp4", so they are cut at their start. The view's own mode serves the others.
class ElidingDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  ElidingDelegate(Qt::TextElideMode mode, QObject* parent);

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  Qt::TextElideMode mode_;
};

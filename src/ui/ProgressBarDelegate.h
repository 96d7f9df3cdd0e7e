#pragma once

#include <QStyledItemDelegate>

// Draws a Progress cell whose text is a percentage ("25.00%") as a bar with the
// text on it; words ("queueing", "Failed", "Stopped") are drawn as plain text.
// Only the drawing changes: the cell keeps its text.
class ProgressBarDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The fraction a progress text shows, clamped to [0, 1]; false for a word.
  static bool fractionOf(const QString& text, double* fraction);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

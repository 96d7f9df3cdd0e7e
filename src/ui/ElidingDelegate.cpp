#include "ui/ElidingDelegate.h"

ElidingDelegate::ElidingDelegate(Qt::TextElideMode mode, QObject* parent)
    : QStyledItemDelegate(parent), mode_(mode) {}

void ElidingDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->textElideMode = mode_;
}

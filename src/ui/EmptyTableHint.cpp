#include "ui/EmptyTableHint.h"

#include <QEvent>
#include <QLabel>
#include <QTableView>

EmptyTableHint::EmptyTableHint(QTableView* table, const QString& text)
    : QObject(table), table_(table), label_(new QLabel(text, table->viewport())) {
  label_->setObjectName("labelEmptyHint");
  label_->setAlignment(Qt::AlignCenter);
  label_->setWordWrap(true);
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->setStyleSheet(
      QStringLiteral("QLabel { background: transparent; color: #8C9BAB; font-size: 12pt; }"));
  QAbstractItemModel* model = table_->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, &EmptyTableHint::update);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &EmptyTableHint::update);
  connect(model, &QAbstractItemModel::modelReset, this, &EmptyTableHint::update);
  table_->viewport()->installEventFilter(this);
  update();
}

bool EmptyTableHint::isShown() const { return label_ != nullptr && !label_->isHidden(); }

bool EmptyTableHint::eventFilter(QObject* watched, QEvent* event) {
  // The label's parent is the viewport: a table being destroyed is no table to ask.
  if (event->type() == QEvent::Resize && label_ != nullptr && watched == label_->parentWidget()) update();
  return QObject::eventFilter(watched, event);
}

void EmptyTableHint::update() {
  if (label_ == nullptr) return;
  const bool empty = table_->model()->rowCount() == 0;
  label_->setVisible(empty);
  if (empty) label_->setGeometry(table_->viewport()->rect().adjusted(20, 20, -20, -20));
}

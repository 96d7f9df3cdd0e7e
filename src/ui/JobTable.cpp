#include "ui/JobTable.h"

#include <QHeaderView>
#include <QTableWidget>

#include "Util/QtText.h"

void JobTable::setUp(QTableWidget* table) {
  table->setColumnCount(4);
  table->setRowCount(0);
  // The padding keeps the narrow columns from hugging their headers.
  table->setHorizontalHeaderLabels({QStringLiteral("JobID"), tr("FileName"),
                                    QStringLiteral("  ") + tr("Time Remaining") + QStringLiteral("  "),
                                    QStringLiteral("  ") + tr("Progress") + QStringLiteral("  ")});
  table->setColumnHidden(kJobID, true);
  QHeaderView* header = table->horizontalHeader();
  header->setSectionResizeMode(kFileName, QHeaderView::Stretch);
  header->setSectionResizeMode(kTimeRemaining, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(kProgress, QHeaderView::ResizeToContents);
  table->verticalHeader()->setVisible(false);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setContextMenuPolicy(Qt::CustomContextMenu);
  // A long path is cut in its middle, so both its folder and its file name stay readable.
  table->setTextElideMode(Qt::ElideMiddle);
  table->setWordWrap(false);
}

void JobTable::appendRow(QTableWidget* table, const std::string& jobID, const std::string& inputFile,
                         const QString& time, const QString& progress) {
  const int row = table->rowCount();
  table->insertRow(row);
  table->setItem(row, kJobID, new QTableWidgetItem(to_qstring(jobID)));
  auto* name = new QTableWidgetItem(to_qstring(inputFile));
  name->setToolTip(name->text());
  table->setItem(row, kFileName, name);
  table->setItem(row, kTimeRemaining, new QTableWidgetItem(time));
  table->setItem(row, kProgress, new QTableWidgetItem(progress));
}

int JobTable::findRow(const QTableWidget* table, const std::string& jobID) {
  const QString wanted = to_qstring(jobID);
  for (int row = 0; row < table->rowCount(); ++row) {
    const QTableWidgetItem* item = table->item(row, kJobID);
    if (item != nullptr && item->text() == wanted) return row;
  }
  return -1;
}

std::string JobTable::jobID(const QTableWidget* table, int row) {
  const QTableWidgetItem* item = table->item(row, kJobID);
  return item == nullptr ? std::string() : to_utf8(item->text());
}

#include "ui/JobTable.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>

#include "text/QtText.h"
#include "ui/ElidingDelegate.h"
#include "ui/JobRowTexts.h"
#include "ui/PlainText.h"
#include "ui/ProgressBarDelegate.h"

namespace {

// Wide enough for the header and for every text the column shows. Measured once:
// fitting the column to its contents on every update costs a pass over all rows.
int width_for(const QTableWidget* table, const QString& header, const QStringList& texts) {
  int width = table->horizontalHeader()->fontMetrics().horizontalAdvance(header);
  for (const QString& text : texts) width = std::max(width, table->fontMetrics().horizontalAdvance(text));
  return width + 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table) + 12;
}

}  // namespace

JobTable::JobTable(QTableWidget* table, bool withOutput) : table_(table), withOutput_(withOutput) {
  table_->ensurePolished();
  table_->setColumnCount(withOutput_ ? 5 : 4);
  table_->setRowCount(0);
  // The padding keeps the narrow columns from hugging their headers.
  const QString timeHeader = QStringLiteral("  ") + tr("Time Remaining") + QStringLiteral("  ");
  const QString progressHeader = QStringLiteral("  ") + tr("Progress") + QStringLiteral("  ");
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("JobID"), tr("FileName"), timeHeader, progressHeader, tr("Output file")});
  table_->setColumnHidden(kJobID, true);
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionResizeMode(kFileName, QHeaderView::Stretch);
  if (withOutput_) {
    header->setSectionResizeMode(kOutput, QHeaderView::Stretch);
    // "clip_output.mp4" and "clip_output_2.mp4" differ at their end.
    table_->setItemDelegateForColumn(kOutput, new ElidingDelegate(Qt::ElideLeft, table_));
    table_->setColumnHidden(kTimeRemaining, true);
  }
  table_->setItemDelegateForColumn(kProgress, new ProgressBarDelegate(table_));
  header->setSectionResizeMode(kTimeRemaining, QHeaderView::Fixed);
  header->setSectionResizeMode(kProgress, QHeaderView::Fixed);
  const QStringList states = {JobRowTexts::transcoding(true).time,
                              JobRowTexts::stoppedByUser(),
                              JobRowTexts::stopping().time,
                              JobRowTexts::elsewhere().progress,
                              JobRowTexts::timeRemaining("-1"),
                              JobRowTexts::progress("-1"),
                              QCoreApplication::translate("QObject", "queueing"),
                              QCoreApplication::translate("QObject", "Failed")};
  header->resizeSection(kTimeRemaining,
                        width_for(table, timeHeader,
                                  states + QStringList{JobRowTexts::timeRemaining("59"),
                                                       JobRowTexts::timeRemaining("359999")}));
  // The bar keeps its text off its rounded ends.
  header->resizeSection(kProgress, width_for(table, progressHeader, states + QStringList{"100.00%"}) + 24);
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  // A long path is cut in its middle, so both its folder and its file name stay readable.
  table_->setTextElideMode(Qt::ElideMiddle);
  table_->setWordWrap(false);
  // Tab leaves the table for the next control instead of walking its cells.
  table_->setTabKeyNavigation(false);
}

void JobTable::appendRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                         const QString& progress, const std::string& outputFile, int64_t targetBytes) {
  const int row = table_->rowCount();
  table_->insertRow(row);
  auto* id = new QTableWidgetItem(to_qstring(jobID));
  table_->setItem(row, kJobID, id);
  auto* name = new QTableWidgetItem(to_qstring(inputFile));
  name->setToolTip(PlainText::toolTip(name->text()));
  table_->setItem(row, kFileName, name);
  table_->setItem(row, kTimeRemaining, new QTableWidgetItem(time));
  table_->setItem(row, kProgress, new QTableWidgetItem(progress));
  if (withOutput_) {
    auto* output = new QTableWidgetItem(JobRowTexts::outputSummary(outputFile, targetBytes));
    const QString both = JobRowTexts::inputAndOutput(inputFile, outputFile);
    output->setToolTip(PlainText::toolTip(both));
    name->setToolTip(PlainText::toolTip(both));
    table_->setItem(row, kOutput, output);
  }
  rows_.emplace(jobID, id);
}

void JobTable::removeRow(int row) {
  const auto found = rows_.find(jobID(table_, row));
  if (found != rows_.end() && found->second == table_->item(row, kJobID)) rows_.erase(found);
  table_->removeRow(row);
}

int JobTable::findRow(const std::string& jobID) const {
  const auto found = rows_.find(jobID);
  return found == rows_.end() ? -1 : table_->row(found->second);
}

bool JobTable::setCell(int row, Column column, const QString& text) {
  QTableWidgetItem* item = table_->item(row, column);
  if (item == nullptr) return false;
  item->setText(text);
  return true;
}

void JobTable::setRowToolTip(int row, const QString& text) {
  for (int column = kFileName; column <= kProgress; ++column) {
    QTableWidgetItem* item = table_->item(row, column);
    if (item == nullptr) continue;
    // The file name's own tooltip is its full path: the note goes below it.
    item->setToolTip(PlainText::toolTip(
        column == kFileName ? item->text() + (text.isEmpty() ? QString() : "\n" + text) : text));
  }
}

std::string JobTable::jobID(const QTableWidget* table, int row) {
  const QTableWidgetItem* item = table->item(row, kJobID);
  return item == nullptr ? std::string() : to_utf8(item->text());
}

int JobTable::rowOf(const QTableWidget* table, const std::string& jobID) {
  const QString wanted = to_qstring(jobID);
  for (int row = 0; row < table->rowCount(); ++row) {
    const QTableWidgetItem* item = table->item(row, kJobID);
    if (item != nullptr && item->text() == wanted) return row;
  }
  return -1;
}

#include "ui/JobTable.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "text/QtText.h"
#include "ui/ElidingDelegate.h"
#include "ui/JobRowTexts.h"
#include "ui/JobTableModel.h"
#include "ui/ProgressBarDelegate.h"

namespace {

// Wide enough for the header and for every text the column shows. Measured once:
// fitting the column to its contents on every update costs a pass over all rows.
int width_for(const QTableView* table, const QString& header, const QStringList& texts) {
  int width = table->horizontalHeader()->fontMetrics().horizontalAdvance(header);
  for (const QString& text : texts) width = std::max(width, table->fontMetrics().horizontalAdvance(text));
  return width + 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table) + 12;
}

}  // namespace

JobTable::JobTable(QTableView* table, bool withOutput)
    : table_(table), model_(new JobTableModel(withOutput, table)) {
  table_->ensurePolished();
  table_->setModel(model_);
  // The padding keeps the narrow columns from hugging their headers.
  const QString timeHeader = QStringLiteral("  ") + tr("Time Remaining") + QStringLiteral("  ");
  const QString progressHeader = QStringLiteral("  ") + tr("Progress") + QStringLiteral("  ");
  model_->setHeaders(
      {QStringLiteral("JobID"), tr("FileName"), timeHeader, progressHeader, tr("Output file")});
  table_->setColumnHidden(kJobID, true);
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionResizeMode(kFileName, QHeaderView::Stretch);
  if (withOutput) {
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
  model_->appendJobRow(jobID, inputFile, time, progress, outputFile, targetBytes);
}

void JobTable::insertStoredRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                               const QString& progress, const std::string& outputFile, int64_t targetBytes) {
  model_->insertStoredJobRow(jobID, inputFile, time, progress, outputFile, targetBytes);
}

void JobTable::removeRow(int row) { model_->removeJobRow(row); }

int JobTable::rowCount() const { return model_->rowCount(); }

int JobTable::findRow(const std::string& jobID) const { return model_->findRow(jobID); }

bool JobTable::setCell(int row, Column column, const QString& text) {
  return model_->setCell(row, column, text);
}

void JobTable::setRowToolTip(int row, const QString& text) { model_->setNote(row, text); }

std::string JobTable::jobID(int row) const { return model_->jobID(row); }

std::string JobTable::jobID(const QAbstractItemView* table, int row) {
  const QAbstractItemModel* model = table->model();
  if (row < 0 || row >= model->rowCount()) return std::string();
  return to_utf8(model->index(row, kJobID).data().toString());
}

int JobTable::rowOf(const QAbstractItemView* table, const std::string& jobID) {
  for (int row = 0; row < table->model()->rowCount(); ++row) {
    if (JobTable::jobID(table, row) == jobID) return row;
  }
  return -1;
}

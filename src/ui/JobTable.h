#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>
#include <unordered_map>

class QTableWidget;
class QTableWidgetItem;

// One of the three job tables. Column 0 holds the JobID (hidden), 1 the input
// path, 2 the time remaining, 3 the progress (drawn as a bar), and in the tables of
// finished jobs (Completed, Recycle Bin) 4 the output file, while their time column,
// which means nothing there, is hidden; a row is tied to its job only by that JobID. Rows are added and
// removed through this object, which keeps an index from JobID to row so a snapshot does not search every
// row for every job.
class JobTable {
  Q_DECLARE_TR_FUNCTIONS(JobTable)

 public:
  enum Column { kJobID = 0, kFileName = 1, kTimeRemaining = 2, kProgress = 3, kOutput = 4 };

  // Gives the table its columns, headers and behaviour; withOutput makes it a table
  // of finished jobs: the output column, no time column.
  explicit JobTable(QTableWidget* table, bool withOutput = false);
  JobTable(const JobTable&) = delete;
  JobTable& operator=(const JobTable&) = delete;

  QTableWidget* widget() const { return table_; }
  // The output file is shown only by a table with the output column.
  void appendRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                 const QString& progress, const std::string& outputFile = std::string(),
                 int64_t targetBytes = 0);
  void removeRow(int row);
  // The row showing the job, or -1.
  int findRow(const std::string& jobID) const;
  // Rewrites the Time Remaining and Progress cells; false when a cell is missing.
  bool setCell(int row, Column column, const QString& text);

  // The text shown when the pointer rests on any cell of the row.
  void setRowToolTip(int row, const QString& text);

  // The JobID of a row, "" when the row has no JobID cell.
  static std::string jobID(const QTableWidget* table, int row);
  // The first row of any job table showing the job, or -1 (a search of every row).
  static int rowOf(const QTableWidget* table, const std::string& jobID);

 private:
  QTableWidget* table_;
  bool withOutput_;
  std::unordered_map<std::string, QTableWidgetItem*> rows_;
};

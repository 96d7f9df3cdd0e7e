#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

class QAbstractItemView;
class QTableView;
class JobTableModel;

// One of the three job tables. Column 0 holds the JobID (hidden), 1 the input
// path, 2 the time remaining, 3 the progress (drawn as a bar), and in the tables of
// finished jobs (Completed, Recycle Bin) 4 the output file, while their time column,
// which means nothing there, is hidden; a row is tied to its job only by that JobID. Rows are added and
// removed through this object, whose model (JobTableModel) keeps them small and finds a job's row without a
// search of every row.
class JobTable {
  Q_DECLARE_TR_FUNCTIONS(JobTable)

 public:
  enum Column { kJobID = 0, kFileName = 1, kTimeRemaining = 2, kProgress = 3, kOutput = 4 };

  // Gives the table its columns, headers and behaviour; withOutput makes it a table
  // of finished jobs: the output column, no time column.
  explicit JobTable(QTableView* table, bool withOutput = false);
  JobTable(const JobTable&) = delete;
  JobTable& operator=(const JobTable&) = delete;

  QTableView* widget() const { return table_; }
  // The output file is shown only by a table with the output column.
  void appendRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                 const QString& progress, const std::string& outputFile = std::string(),
                 int64_t targetBytes = 0);
  // A stored job's row: after the stored jobs shown so far, before the jobs that
  // arrived since the program started.
  void insertStoredRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                       const QString& progress, const std::string& outputFile = std::string(),
                       int64_t targetBytes = 0);
  void removeRow(int row);
  int rowCount() const;
  // The row showing the job, or -1.
  int findRow(const std::string& jobID) const;
  // Rewrites the Time Remaining and Progress cells; false when a cell is missing.
  bool setCell(int row, Column column, const QString& text);

  // The text shown when the pointer rests on any cell of the row.
  void setRowToolTip(int row, const QString& text);

  // The JobID of a row, "" when there is no such row.
  std::string jobID(int row) const;
  static std::string jobID(const QAbstractItemView* table, int row);
  // The first row of any job table showing the job, or -1 (a search of every row).
  static int rowOf(const QAbstractItemView* table, const std::string& jobID);

 private:
  QTableView* table_;
  JobTableModel* model_;
};

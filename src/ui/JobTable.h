#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

class QTableWidget;

// The row operations shared by the three job tables. Column 0 holds the JobID
// (hidden), 1 the input path, 2 the time remaining, 3 the progress; a row is tied
// to its job only by that JobID.
class JobTable {
  Q_DECLARE_TR_FUNCTIONS(JobTable)

 public:
  enum Column { kJobID = 0, kFileName = 1, kTimeRemaining = 2, kProgress = 3 };

  // Columns, headers and behaviour of an empty job table.
  static void setUp(QTableWidget* table);
  static void appendRow(QTableWidget* table, const std::string& jobID, const std::string& inputFile,
                        const QString& time, const QString& progress);
  // The first row whose JobID equals jobID, or -1.
  static int findRow(const QTableWidget* table, const std::string& jobID);
  // The JobID of a row, "" when the row has no JobID cell.
  static std::string jobID(const QTableWidget* table, int row);
};

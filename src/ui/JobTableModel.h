#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The rows of one job table, kept small: a window may list tens of thousands of
// finished jobs. Column 0 is the JobID, 1 the input path, 2 the time remaining, 3
// the progress, and with the output column 4 the output file, described when first
// shown. A row may carry a note, shown in its tooltips. Rows are found by JobID
// without a search of every row.
class JobTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kJobID = 0, kFileName = 1, kTimeRemaining = 2, kProgress = 3, kOutput = 4 };

  JobTableModel(bool withOutput, QObject* parent);

  void setHeaders(const QStringList& headers);

  // A row of a job arriving now, after every other row.
  // targetBytes: the size the output was fitted into, shown beside it; 0 for none.
  void appendJobRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                    const QString& progress, const std::string& outputFile, int64_t targetBytes = 0);
  // A row of a stored job: after the stored jobs' rows, before those of jobs that
  // arrived since the program started.
  void insertStoredJobRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                          const QString& progress, const std::string& outputFile, int64_t targetBytes = 0);
  void removeJobRow(int row);
  // The row showing the job, or -1.
  int findRow(const std::string& jobID) const;
  std::string jobID(int row) const;
  // The Time Remaining or Progress cell; false for another column or no such row.
  bool setCell(int row, int column, const QString& text);
  // The row's note below its file name's tooltip and as its figures' tooltip.
  void setNote(int row, const QString& note);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct Row {
    // The JobID, the input and the output path one after the other, in one block.
    std::string paths;
    uint32_t jobIDSize = 0;
    uint32_t inputSize = 0;
    // Rows are kept in the order of their keys, so a key finds its row by bisection.
    uint64_t key = 0;
    int64_t targetBytes = 0;
    QString time;
    QString progress;
    QString note;
    mutable QString outputSummary;  // made when first shown: it looks at the file
  };
  std::string idOf(const Row& row) const { return row.paths.substr(0, row.jobIDSize); }
  std::string inputOf(const Row& row) const { return row.paths.substr(row.jobIDSize, row.inputSize); }
  std::string outputOf(const Row& row) const { return row.paths.substr(row.jobIDSize + row.inputSize); }
  void insertJobRow(int at, uint64_t key, const std::string& jobID, const std::string& inputFile,
                    const QString& time, const QString& progress, const std::string& outputFile,
                    int64_t targetBytes);
  // The row with that key, or -1.
  int rowOfKey(uint64_t key) const;
  QVariant toolTip(const Row& row, int column) const;
  // A text many rows show, kept once.
  QString shared(const QString& text);

  const bool withOutput_;
  QStringList headers_;
  std::vector<Row> rows_;
  // Stored jobs' rows take keys from 0 up, the others from kFirstNewKey up.
  int storedRows_ = 0;
  uint64_t nextStoredKey_ = 0;
  uint64_t nextNewKey_;
  // Hash of the JobID -> key of its row.
  std::unordered_multimap<std::size_t, uint64_t> keys_;
  QSet<QString> texts_;
};

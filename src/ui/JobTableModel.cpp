#include "ui/JobTableModel.h"

#include <algorithm>
#include <functional>

#include "text/QtText.h"
#include "ui/JobRowTexts.h"
#include "ui/PlainText.h"

namespace {
constexpr uint64_t kFirstNewKey = uint64_t(1) << 62;

std::size_t hashOf(const std::string& jobID) { return std::hash<std::string>()(jobID); }
}  // namespace

JobTableModel::JobTableModel(bool withOutput, QObject* parent)
    : QAbstractTableModel(parent), withOutput_(withOutput), nextNewKey_(kFirstNewKey) {}

void JobTableModel::setHeaders(const QStringList& headers) {
  headers_ = headers;
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void JobTableModel::appendJobRow(const std::string& jobID, const std::string& inputFile, const QString& time,
                                 const QString& progress, const std::string& outputFile,
                                 int64_t targetBytes) {
  insertJobRow(rowCount(), nextNewKey_++, jobID, inputFile, time, progress, outputFile, targetBytes);
}

void JobTableModel::insertStoredJobRow(const std::string& jobID, const std::string& inputFile,
                                       const QString& time, const QString& progress,
                                       const std::string& outputFile, int64_t targetBytes) {
  insertJobRow(storedRows_, nextStoredKey_++, jobID, inputFile, time, progress, outputFile, targetBytes);
  ++storedRows_;
}

void JobTableModel::insertJobRow(int at, uint64_t key, const std::string& jobID, const std::string& inputFile,
                                 const QString& time, const QString& progress, const std::string& outputFile,
                                 int64_t targetBytes) {
  Row row;
  row.paths.reserve(jobID.size() + inputFile.size() + (withOutput_ ? outputFile.size() : 0));
  row.paths.append(jobID).append(inputFile);
  if (withOutput_) row.paths.append(outputFile);
  row.jobIDSize = static_cast<uint32_t>(jobID.size());
  row.inputSize = static_cast<uint32_t>(inputFile.size());
  row.key = key;
  row.targetBytes = targetBytes;
  row.time = shared(time);
  row.progress = shared(progress);
  beginInsertRows(QModelIndex(), at, at);
  rows_.insert(rows_.begin() + at, std::move(row));
  keys_.emplace(hashOf(jobID), key);
  endInsertRows();
}

void JobTableModel::removeJobRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  const Row& gone = rows_[row];
  auto [first, last] = keys_.equal_range(hashOf(idOf(gone)));
  for (; first != last; ++first) {
    if (first->second == gone.key) {
      keys_.erase(first);
      break;
    }
  }
  if (gone.key < kFirstNewKey) --storedRows_;
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

int JobTableModel::rowOfKey(uint64_t key) const {
  const auto found = std::lower_bound(rows_.begin(), rows_.end(), key,
                                      [](const Row& row, uint64_t k) { return row.key < k; });
  return found != rows_.end() && found->key == key ? static_cast<int>(found - rows_.begin()) : -1;
}

int JobTableModel::findRow(const std::string& jobID) const {
  int found = -1;
  auto [first, last] = keys_.equal_range(hashOf(jobID));
  for (; first != last; ++first) {
    const int row = rowOfKey(first->second);
    // The first row of the job when it has more than one.
    if (row >= 0 && idOf(rows_[row]) == jobID && (found < 0 || row < found)) found = row;
  }
  return found;
}

std::string JobTableModel::jobID(int row) const {
  return row >= 0 && row < rowCount() ? idOf(rows_[row]) : std::string();
}

bool JobTableModel::setCell(int row, int column, const QString& text) {
  if (row < 0 || row >= rowCount()) return false;
  if (column == kTimeRemaining) {
    rows_[row].time = text;
  } else if (column == kProgress) {
    rows_[row].progress = text;
  } else {
    return false;
  }
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
  return true;
}

void JobTableModel::setNote(int row, const QString& note) {
  if (row < 0 || row >= rowCount()) return;
  rows_[row].note = note;
  emit dataChanged(index(row, kFileName), index(row, columnCount() - 1), {Qt::ToolTipRole});
}

int JobTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int JobTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return withOutput_ ? 5 : 4;
}

QVariant JobTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return QVariant();
  const Row& row = rows_[index.row()];
  if (role == Qt::ToolTipRole) return toolTip(row, index.column());
  if (role != Qt::DisplayRole) return QVariant();
  switch (index.column()) {
    case kJobID:
      return to_qstring(idOf(row));
    case kFileName:
      return to_qstring(inputOf(row));
    case kTimeRemaining:
      return row.time;
    case kProgress:
      return row.progress;
    default:
      if (row.outputSummary.isNull())
        row.outputSummary = JobRowTexts::outputSummary(outputOf(row), row.targetBytes);
      return row.outputSummary;
  }
}

QVariant JobTableModel::toolTip(const Row& row, int column) const {
  if (column == kJobID) return QVariant();
  // A finished job's file name and output tell both paths; the note goes below.
  const QString paths =
      withOutput_ ? JobRowTexts::inputAndOutput(inputOf(row), outputOf(row)) : to_qstring(inputOf(row));
  // Names and reasons come from outside: shown as written, never as markup.
  if (column == kOutput) return PlainText::toolTip(paths);
  if (column == kFileName) return PlainText::toolTip(row.note.isEmpty() ? paths : paths + "\n" + row.note);
  return row.note.isEmpty() ? QVariant() : QVariant(PlainText::toolTip(row.note));
}

QVariant JobTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headers_.size())
    return headers_.at(section);
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags JobTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QString JobTableModel::shared(const QString& text) {
  // A new row's texts are a few fixed ones ("100.00%", "Stopped", ...).
  const auto known = texts_.constFind(text);
  if (known != texts_.constEnd()) return *known;
  if (texts_.size() < 64) texts_.insert(text);
  return text;
}

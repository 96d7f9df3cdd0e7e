#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <array>

class QTabWidget;
class QTableView;

// The three tabs of the job tables: each title carries its table's row count
// ("Completed (3)"), kept up as rows come and go, and a job added to Transcoding
// brings that tab to the front.
class JobTabs : public QObject {
  Q_OBJECT

 public:
  // The tables in tab order: Transcoding, Completed, Recycle Bin.
  JobTabs(QTabWidget* tabs, const std::array<QTableView*, 3>& tables);

  // Writes the three titles again (the layout rebuilds the tabs).
  void refresh();
  void showTranscoding();

  // The title of a tab (0 to 2) over a table of that many rows.
  static QString title(int tab, int rows);

 private:
  QTabWidget* tabs_;
  std::array<QTableView*, 3> tables_;
};

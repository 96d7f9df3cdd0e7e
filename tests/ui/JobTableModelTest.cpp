// A job table's rows: stored jobs above this session's, every row found by its JobID
// after rows come and go, and the texts and tooltips a row shows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTableView>

#include "support/TestEnvironment.h"
#include "ui/JobTable.h"

namespace {

std::string id(const std::string& name) { return name + "-0000-4000-8000-000000000000"; }

void add(JobTable& table, const std::string& name, bool stored) {
  const std::string in = "/in/" + name + ".mp4", out = "/out/" + name + "_output.mkv";
  if (stored) {
    table.insertStoredRow(id(name), in, "0:00", "100.00%", out);
  } else {
    table.appendRow(id(name), in, "-:-:-", "0.00%", out);
  }
}

// The rows top to bottom, each found again by its JobID.
std::vector<std::string> rows_found(const JobTable& table) {
  std::vector<std::string> names;
  for (int row = 0; row < table.rowCount(); ++row) {
    const std::string jobID = table.jobID(row);
    EXPECT_EQ(table.findRow(jobID), row) << jobID;
    EXPECT_EQ(JobTable::rowOf(table.widget(), jobID), row) << jobID;
    names.push_back(jobID.substr(0, jobID.find('-')));
  }
  return names;
}

}  // namespace

TEST(JobTableModel, StoredRowsGoAboveThisSessionsAndEveryRowIsFoundAfterChanges) {
  QTableView view;
  JobTable table(&view, true);
  add(table, "new1", false);
  for (const char* name : {"s1", "s2", "s3", "s4"}) add(table, name, true);
  add(table, "new2", false);
  EXPECT_EQ(rows_found(table), (std::vector<std::string>{"s1", "s2", "s3", "s4", "new1", "new2"}));

  table.removeRow(table.findRow(id("s2")));
  table.removeRow(table.findRow(id("new1")));
  table.removeRow(table.findRow(id("s1")));
  add(table, "s5", true);
  add(table, "new3", false);
  add(table, "s6", true);
  EXPECT_EQ(rows_found(table), (std::vector<std::string>{"s3", "s4", "s5", "s6", "new2", "new3"}));
  EXPECT_EQ(table.findRow(id("s1")), -1);
  EXPECT_EQ(table.jobID(6), "");

  // A job file copied under another name shows its job twice: the first row answers.
  add(table, "s3", true);
  EXPECT_EQ(table.findRow(id("s3")), 0);
  table.removeRow(0);
  EXPECT_EQ(table.findRow(id("s3")), 3);

  // Figures and notes change in place; the fixed columns do not.
  const int row = table.findRow(id("new2"));
  EXPECT_TRUE(table.setCell(row, JobTable::kProgress, "50.00%"));
  EXPECT_FALSE(table.setCell(row, JobTable::kFileName, "x") || table.setCell(99, JobTable::kProgress, "x"));
  const auto shown = [&](int column, int role = Qt::DisplayRole) {
    return view.model()->index(row, column).data(role).toString();
  };
  const QString paths = "Input: " + QDir::toNativeSeparators("/in/new2.mp4") +
                        "\nOutput: " + QDir::toNativeSeparators("/out/new2_output.mkv");
  EXPECT_EQ(shown(JobTable::kFileName) + "|" + shown(JobTable::kProgress), "/in/new2.mp4|50.00%");
  EXPECT_EQ(shown(JobTable::kOutput), "new2_output.mkv (MKV, missing)");
  table.setRowToolTip(row, "Failed: disk full");
  EXPECT_EQ(shown(JobTable::kFileName, Qt::ToolTipRole), paths + "\nFailed: disk full");
  EXPECT_EQ(shown(JobTable::kProgress, Qt::ToolTipRole), "Failed: disk full");
  EXPECT_EQ(shown(JobTable::kOutput, Qt::ToolTipRole), paths);
  table.setRowToolTip(row, QString());
  EXPECT_EQ(shown(JobTable::kFileName, Qt::ToolTipRole) + shown(JobTable::kProgress, Qt::ToolTipRole), paths);

  // A stored job fitted into a size shows its output against the size, in the size's units.
  const std::string folder = make_temp_folder("model-size");
  QFile made(QString::fromStdString(folder + "/sized_output.mp4"));
  ASSERT_TRUE(made.open(QIODevice::WriteOnly) && made.resize(1234567));
  made.close();
  table.insertStoredRow(id("sized"), "/in/sized.mp4", "", "100.00%", folder + "/sized_output.mp4", 2000000);
  EXPECT_EQ(view.model()->index(table.findRow(id("sized")), JobTable::kOutput).data().toString(),
            "sized_output.mp4 (MP4, 1.23 MB of 2 MB)");
}

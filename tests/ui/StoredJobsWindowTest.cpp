// Opening on years of stored jobs: the window answers while its tables fill in
// behind it, the Transcoding table first, and nothing that happens to a job
// meanwhile is lost.
#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <algorithm>

#include "WindowTestSupport.h"
#include "jobs/JobOwnership.h"
#include "support/QtPrinters.h"
#include "support/StoredJobFiles.h"

namespace {

using Kind = StoredJobFile::Kind;

// Per twenty jobs one of each unfinished kind and two in the recycle bin, the rest
// completed: the kind, its table (0 Transcoding, 1 Completed, 2 Recycle Bin), its cells.
struct Stored {
  Kind kind;
  int table;
  const char* cells;
};
Stored stored(int i) {
  static const Stored kFirst[] = {{Kind::Interrupted, 0, "Stopped|Stopped"},
                                  {Kind::Stopped, 0, "Stopped|Stopped"},
                                  {Kind::Failed, 0, "Failed|Failed"},
                                  {Kind::DeletedCompleted, 2, "0:00|100.00%"},
                                  {Kind::DeletedStopped, 2, "Stopped|Stopped"}};
  return i % 20 < 5 ? kFirst[i % 20] : Stored{Kind::Completed, 1, "0:00|100.00%"};
}

QString cell(const QTableView* table, int row, int column) {
  return table->model()->index(row, column).data().toString();
}

// Each row as "JobID input time|progress", top to bottom.
QStringList rows_of(const QTableView* table) {
  QStringList rows;
  for (int row = 0; row < table->model()->rowCount(); ++row)
    rows << cell(table, row, 0) + " " + cell(table, row, 1) + " " + cell(table, row, 2) + "|" +
                cell(table, row, 3);
  return rows;
}

QSet<QString> ids_in(const QTableView* table) {
  QSet<QString> ids;
  for (int row = 0; row < table->model()->rowCount(); ++row) ids.insert(cell(table, row, 0));
  return ids;
}

// The rows that name the job or the input, taken out of the list.
QStringList take_rows(QStringList& rows, const QString& part) {
  QStringList taken;
  for (int i = rows.size() - 1; i >= 0; --i) {
    if (rows[i].contains(part)) taken.prepend(rows.takeAt(i));
  }
  return taken;
}

struct FastPublisher {
  FastPublisher() { UpdateGUIThread::setCycleMs(50); }
  ~FastPublisher() { UpdateGUIThread::setCycleMs(0); }
};

}  // namespace

TEST_F(WindowTest, ThousandsOfStoredJobsFillInBehindAWindowThatKeepsAnswering) {
  const int kStoredJobs = many_stored_jobs();
  ClipSpec small;
  small.seconds = 0.5;
  const std::string handed = make_clip(media, "handed.mp4", small);
  // Its row names it as the add chain took it: in the system's separators.
  const QString handedRow = QDir::toNativeSeparators(QString::fromStdString(handed));
  std::vector<StoredJobFile> jobs;
  QStringList expected[3];
  for (int i = 0; i < kStoredJobs; ++i) {
    StoredJobFile job;
    job.jobID = numbered_job_id(i);
    job.input = media + "/clip_" + std::to_string(i) + ".mp4";
    job.output = output_dir + "/clip_" + std::to_string(i) + "_output.mp4";
    job.kind = stored(i).kind;
    jobs.push_back(job);
    expected[stored(i).table] << QString::fromStdString(job.jobID + " " + job.input + " ") + stored(i).cells;
  }
  write_job_files(get_appjobfile_dir(), jobs);
  // kovadle-cli transcodes one of them just now, and finishes while the tables fill.
  const QString theirs = QString::fromStdString(jobs[20].jobID);
  auto cli = std::make_unique<JobOwnership>(get_appjobfile_dir(), jobs[20].jobID);
  ASSERT_TRUE(cli->Take());
  const std::string deleted = jobs[40].jobID;  // by the user, while the tables fill
  FastPublisher publisher;

  // From before the window is made: a window that loads everything first stays silent
  // for nearly the whole time.
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0, longest = 0;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    longest = std::max(longest, clock.elapsed() - last);
    last = clock.elapsed();
  });
  heartbeat.start(5);
  Widget& w = open_window(false);

  JobFile record;
  record.Load(OSUtil::pathJoin(get_appjobfile_dir(), jobs[20].jobID + ".jobfile"));
  record.SetFlags(true, false, false);
  record.SetOutcome("completed", {});
  ASSERT_TRUE(record.Save());
  cli.reset();
  // A later start hands a file over.
  AddFlowAnswers answers;
  w.add_video_files({QString::fromStdString(handed)});

  // What the Transcoding table shows when the first stored finished job is shown
  // (not what was done to jobs meanwhile).
  bool finished_rows_seen = false, deleted_while_filling = false;
  QSet<QString> transcoding_before_finished;
  for (QTableView* table : {done(), recycled()}) {
    QObject::connect(table->model(), &QAbstractItemModel::rowsInserted, &w,
                     [&, table](const QModelIndex&, int row) {
                       const QString id = cell(table, row, 0);
                       if (finished_rows_seen || id == theirs || id == QString::fromStdString(deleted) ||
                           cell(table, row, 1) == handedRow)
                         return;
                       finished_rows_seen = true;
                       transcoding_before_finished = ids_in(running());
                     });
  }
  QStringList bin_menu;
  while (!w.stored_jobs_shown() && clock.elapsed() < 300000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!deleted_while_filling && JobTable::rowOf(running(), deleted) >= 0) {
      deleted_while_filling = true;
      open_menu(running(), deleted, "Delete");
      // Emptied now, the recycle bin would fill again with what is still to come.
      if (!w.stored_jobs_shown()) bin_menu = open_menu(recycled(), deleted);
    }
  }
  ASSERT_TRUE(w.stored_jobs_shown());
  heartbeat.stop();
  const qint64 total = clock.elapsed();
  longest = std::max(longest, total - last);
  EXPECT_LT(longest, total / 3) << "the window did not answer for " << longest << " of " << total << " ms";
  EXPECT_TRUE(deleted_while_filling);
  if (!bin_menu.isEmpty()) {
    EXPECT_TRUE(bin_menu.contains("Empty Recycle Bin (disabled)")) << bin_menu.join(",").toStdString();
  }

  // Every unfinished job was shown before any finished one.
  ASSERT_TRUE(finished_rows_seen);
  for (const QString& row : expected[0]) {
    const QString id = row.section(' ', 0, 0);
    if (id == theirs || id == QString::fromStdString(deleted)) continue;
    EXPECT_TRUE(transcoding_before_finished.contains(id)) << id.toStdString();
  }

  // Each table holds its stored jobs in stored order, the rows of this session after them.
  QStringList shown[3] = {rows_of(running()), rows_of(done()), rows_of(recycled())};
  for (QStringList* table : {&shown[0], &shown[1]}) {
    if (!table->isEmpty() && table->last().contains(handedRow)) table->removeLast();
  }
  EXPECT_EQ(take_rows(shown[0], handedRow) + take_rows(shown[1], handedRow), QStringList())
      << "the handed-over video is not after the stored jobs";
  EXPECT_EQ(take_rows(shown[1], theirs).size(), 1);
  EXPECT_EQ(take_rows(expected[0], theirs).size(), 1);
  ASSERT_FALSE(shown[2].isEmpty());
  EXPECT_EQ(shown[2].takeLast(), QString::fromStdString(deleted + " " + jobs[40].input + " Stopped|Stopped"));
  EXPECT_EQ(take_rows(expected[0], QString::fromStdString(deleted)).size(), 1);
  for (int table = 0; table < 3; ++table) {
    EXPECT_EQ(shown[table].size(), expected[table].size()) << "table " << table;
    EXPECT_TRUE(shown[table] == expected[table]) << "table " << table;
  }
  EXPECT_EQ(manager->GetAllJobCount(), kStoredJobs + 1);
}

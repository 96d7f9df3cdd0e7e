// How progress shows: bars in the Progress cells, the figure in the title, and the
// hint of an empty Transcoding table.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>

#include "WindowTestSupport.h"
#include "support/QtPrinters.h"
#include "ui/ProgressBarDelegate.h"

namespace {

// One Progress cell painted 200 x 24 on black, read at 10% and 90% of the bar's
// length just inside its top edge: 'x' the bar's fill, '-' its empty part, '.' neither.
QString bar_of(const QString& text) {
  QTableWidget table(1, 1);
  table.setItem(0, 0, new QTableWidgetItem(text));
  QStyleOptionViewItem option;
  option.initFrom(&table);
  option.rect = QRect(0, 0, 200, 24);
  option.widget = &table;
  QImage image(200, 24, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  ProgressBarDelegate().paint(&painter, option, table.model()->index(0, 0));
  painter.end();
  EXPECT_EQ(table.item(0, 0)->text(), text);
  QString read;
  for (const double at : {0.1, 0.9}) {
    const QColor pixel = image.pixelColor(int(5 + 190 * at), 6);
    read += pixel == QColor(0x66, 0x99, 0xCC) ? 'x' : pixel == QColor(Qt::white) ? '-' : '.';
  }
  return read;
}

}  // namespace

TEST(ProgressDisplay, PercentagesAreDrawnAsBarsAndWordsAsText) {
  const std::pair<const char*, const char*> cells[] = {{"0.00%", "--"},   {"50.00%", "x-"},
                                                       {"100.00%", "xx"}, {"queueing", ".."},
                                                       {"Failed", ".."},  {"Stopped", ".."}};
  for (const auto& [text, bar] : cells) EXPECT_EQ(bar_of(text), bar) << text;
}

TEST_F(WindowTest, TheTitleShowsTheRunningJobsMeanTheQueuesTimeLeftAndAnEmptyTableItsHint) {
  const std::string a = store_job(media + "/a.mp4", output_dir + "/a.mp4");
  const std::string b = store_job(media + "/b.mp4", output_dir + "/b.mp4");
  const std::string c = store_job(media + "/c.mp4", output_dir + "/c.mp4");
  Widget& w = open_window();
  const QString title = w.windowTitle();
  const auto hint_shown = [this] { return !running()->findChild<QLabel*>("labelEmptyHint")->isHidden(); };
  EXPECT_FALSE(hint_shown());
  // Waiting, failed and finished jobs do not run; one not yet reporting counts as 0.
  const auto job = [](const std::string& id, JobState state, double progress) {
    JobStatus status;
    status.jobID = id;
    status.state = state;
    status.progress = progress;
    return status;
  };
  w.update_jobsProgress_mainWindowUI({job(a, JobState::Encoding, 0.6), job(b, JobState::Starting, -1),
                                      job(c, JobState::Waiting, -1), job("d", JobState::Failed, -1),
                                      job("e", JobState::Completed, 1)});
  EXPECT_EQ(w.windowTitle(), "30% - " + title);
  // With a figure for the running job and the waiting job's duration known: the
  // queue's total, the same clock as the rows'.
  JobStatus known = job(a, JobState::Encoding, 0.6);
  known.leftKind = TimeLeft::Kind::Seconds;
  known.timeLeft = 100;
  known.rate = 0.5;
  JobStatus waiting = job(c, JobState::Waiting, -1);
  waiting.duration = 1800;
  w.update_jobsProgress_mainWindowUI({known, waiting});
  EXPECT_EQ(w.windowTitle(), "60% - 1:01:40 left in all - " + title);
  w.update_jobsProgress_mainWindowUI({known});
  EXPECT_EQ(w.windowTitle(), "60% - " + title);
  w.update_jobsProgress_mainWindowUI({});
  EXPECT_EQ(w.windowTitle(), title);

  for (const std::string& job : {a, b, c}) open_menu(running(), job, "Delete");
  EXPECT_TRUE(hint_shown());
}

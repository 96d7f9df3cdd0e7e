// The shutdown after the last transcode and the close request with active jobs.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMessageBox>

#include "WindowTestSupport.h"
#include "support/QtPrinters.h"
#include "ui/CountDownMsgBox.h"

namespace {

ClipSpec short_clip() {
  ClipSpec spec;
  spec.width = 640;
  spec.height = 360;
  spec.seconds = 1.0;
  return spec;
}

}  // namespace

TEST_F(WindowTest, OnlyTheLastCompletionCountsDownAndOnlyARunOutCountdownShutsDown) {
  const std::string first = store_job(make_clip(media, "a.mp4", short_clip()), output_dir + "/a.mp4");
  const std::string second = store_job(make_clip(media, "b.mp4", short_clip()), output_dir + "/b.mp4");
  const std::string third = store_job(make_clip(media, "c.mp4", short_clip()), output_dir + "/c.mp4");
  Widget& w = open_window();
  auto* shutdown_box = w.findChild<QCheckBox*>("checkBoxShutdown");
  shutdown_box->setChecked(true);

  // Each countdown notes how many jobs had reached Completed when it appeared.
  std::vector<int> countdowns;
  bool cancel = true;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* countdown = qobject_cast<CountDownMsgBox*>(dialog);
    if (countdown == nullptr) return false;
    if (countdowns.empty() || countdowns.back() != done()->rowCount())
      countdowns.push_back(done()->rowCount());
    if (cancel) countdown->button(QMessageBox::No)->click();
    return true;
  });

  open_menu(running(), first, "Transcode again");
  open_menu(running(), second, "Transcode again");
  EXPECT_TRUE(manager->FindJob(second)->IsQueueing());
  ASSERT_TRUE(wait_until([&] { return done()->rowCount() == 2 && !countdowns.empty(); }, 300000));
  QApplication::processEvents();
  EXPECT_EQ(countdowns, std::vector<int>{2});
  EXPECT_TRUE(shutdown_box->isChecked());
  EXPECT_EQ(shutdowns, 0);

  // Left alone, the countdown presses "Shutdown now" itself, and the machine goes down once.
  cancel = false;
  countdowns.clear();
  const int tick = CountDownMsgBox::tickIntervalMs();
  CountDownMsgBox::setTickIntervalMs(5);
  open_menu(running(), third, "Transcode again");
  EXPECT_TRUE(wait_until([&] { return shutdowns > 0; }, 300000));
  wait_until([] { return false; }, 2500);
  CountDownMsgBox::setTickIntervalMs(tick);
  EXPECT_EQ(countdowns, std::vector<int>{3});
  EXPECT_EQ(shutdowns, 1);
}

TEST_F(WindowTest, ClosingAsksOnlyWithActiveJobsAndOkStopsThemAll) {
  {
    Widget& idle = open_window();
    QStringList boxes;
    QObject guard;
    answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + text; });
    EXPECT_TRUE(idle.close());
    EXPECT_TRUE(boxes.isEmpty());
  }

  const std::string encoding = store_job(media + "/a.mp4", output_dir + "/a.mp4");
  const std::string waiting = store_job(media + "/b.mp4", output_dir + "/b.mp4");
  UpdateGUIThread::setLoadSampler([](int ms) {
    OSUtil::sleepMs(ms);
    return 100;
  });
  Widget& w = restart();
  run_slowly(encoding);
  run_slowly(waiting);
  ASSERT_TRUE(active(encoding) && manager->FindJob(waiting)->IsQueueing());

  QStringList asked;
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box == nullptr) return false;
    asked << box->windowTitle() + "|" + box->text() + "|" + box->informativeText();
    box->button(answer)->click();
    return true;
  });
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(active(encoding));

  answer = QMessageBox::Ok;
  QElapsedTimer closing;
  closing.start();
  EXPECT_TRUE(w.close());
  EXPECT_LT(closing.elapsed(), 2000);
  EXPECT_FALSE(w.isVisible());
  const QString question = "Kovadle|Information|Exit? if yes, all transcoding task will be terminated!!!";
  EXPECT_EQ(asked, QStringList({question, question}));
  for (const std::string& jobID : {encoding, waiting}) {
    EXPECT_FALSE(active(jobID));
    EXPECT_EQ(cells(running(), jobID), "stopped|stopped");
    JobFile stored;
    stored.Load(OSUtil::pathJoin(get_appjobfile_dir(), jobID + ".jobfile"));
    EXPECT_TRUE(stored.GetIsStopped());
  }
}

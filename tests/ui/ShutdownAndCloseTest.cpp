// The shutdown after the last transcode, and the close request with active jobs.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMessageBox>

#include "WindowTestSupport.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/CountDownMsgBox.h"

TEST_F(WindowTest, OnlyTheLastCompletionCountsDownAndOnlyARunOutCountdownShutsDown) {
  ClipSpec clip;
  clip.seconds = 1.0;
  std::string jobs[3];
  for (int i = 0; i < 3; ++i)
    jobs[i] = store_job(make_clip(media, std::to_string(i) + ".mp4", clip),
                        output_dir + "/" + std::to_string(i) + ".mp4");
  Widget& w = open_window();
  w.findChild<QCheckBox*>("checkBoxShutdown")->setChecked(true);
  // Each countdown notes how many jobs had reached Completed when it appeared.
  std::vector<int> countdowns;
  bool cancel = true;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* countdown = qobject_cast<CountDownMsgBox*>(dialog);
    if (countdown == nullptr) return false;
    if (countdowns.empty() || countdowns.back() != rows(done())) countdowns.push_back(rows(done()));
    if (cancel) countdown->button(QMessageBox::No)->click();
    return true;
  });

  open_menu(running(), jobs[0], "Transcode again");
  open_menu(running(), jobs[1], "Transcode again");  // queued behind the first
  ASSERT_TRUE(wait_until([&] { return rows(done()) == 2 && !countdowns.empty(); }, 300000));
  EXPECT_EQ(countdowns, std::vector<int>{2});
  EXPECT_TRUE(w.findChild<QCheckBox*>("checkBoxShutdown")->isChecked());
  EXPECT_EQ(shutdowns, 0);

  // Left alone, the countdown presses "Shutdown now" itself, once.
  cancel = false;
  const int tick = CountDownMsgBox::tickIntervalMs();
  CountDownMsgBox::setTickIntervalMs(5);
  open_menu(running(), jobs[2], "Transcode again");
  EXPECT_TRUE(wait_until([&] { return shutdowns > 0; }, 300000));
  wait_until([] { return false; }, 2500);
  CountDownMsgBox::setTickIntervalMs(tick);
  EXPECT_EQ(countdowns, std::vector<int>({2, 3}));
  EXPECT_EQ(shutdowns, 1);
}

TEST_F(WindowTest, ClosingAsksOnlyWithActiveJobsAndOkStopsThemAll) {
  const std::string encoding = store_job(media + "/a.mp4", output_dir + "/a.mp4");
  const std::string waiting = store_job(media + "/b.mp4", output_dir + "/b.mp4");
  machine_busy(true);
  Widget& w = open_window();
  QStringList asked;
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    // The note that the encoders are being stopped asks nothing.
    if (box == nullptr || box->button(answer) == nullptr) return false;
    asked << box->windowTitle() + "|" + box->text() + "|" + box->informativeText();
    box->button(answer)->click();
    return true;
  });
  EXPECT_TRUE(w.close());  // nothing runs: no question
  w.show();
  run_slowly(encoding);
  run_slowly(waiting);
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible() && active(encoding));

  answer = QMessageBox::Ok;
  QElapsedTimer closing;
  closing.start();
  EXPECT_TRUE(w.close());
  EXPECT_LT(closing.elapsed(), 2000);
  const QString question = "Kovadle|Information|Exit? if yes, all transcoding task will be terminated!!!";
  EXPECT_EQ(asked, QStringList({question, question}));
  for (const std::string& jobID : {encoding, waiting}) {
    EXPECT_FALSE(active(jobID));
    EXPECT_EQ(cells(running(), jobID), "stopped|stopped");
    EXPECT_TRUE(manager->FindJob(jobID)->GetJobFile()->GetIsStopped());
  }
}

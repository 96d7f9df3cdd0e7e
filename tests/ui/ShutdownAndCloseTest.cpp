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

// kovadle-cli's encode counts as much as the window's own: the countdown waits for it.
TEST_F(WindowTest, TheCountdownWaitsForAnotherKovadlesEncode) {
  const std::string clip = make_clip(media, "in.mp4", clip_of(640, 480, 1));
  const std::string ours = store_job(clip, output_dir + "/ours.mp4");
  Widget& w = open_window();
  w.findChild<QCheckBox*>("checkBoxShutdown")->setChecked(true);
  int countdowns = 0;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* countdown = qobject_cast<CountDownMsgBox*>(dialog);
    if (countdown == nullptr) return false;
    ++countdowns;
    countdown->button(QMessageBox::No)->click();
    return true;
  });
  JobManager cli;  // another program on the same data folder
  auto* record = new JobFile;
  ASSERT_TRUE(record->Init(clip, output_dir + "/theirs.mp4", "95", "h264", ".mp4"));
  JobV3* theirs = cli.AddJob(record);
  theirs->SetFFmpegCmd(
      CommandLine("ffmpeg")
          .Add({"-nostdin", "-re", "-f", "lavfi", "-i", "testsrc2=size=320x240:duration=60", "-y"})
          .AddPath(output_dir + "/theirs.mp4"));
  ASSERT_TRUE(cli.RunJob(record->GetJobID()));
  ASSERT_TRUE(wait_until([&] { return theirs->GetPid() > 0; }, 30000));

  open_menu(running(), ours, "Transcode again");
  ASSERT_TRUE(wait_until([&] { return rows(done()) == 1; }, 120000));
  wait_until([] { return false; }, 2500);
  EXPECT_EQ(countdowns, 0) << "counted down under another Kovadle's encode";
  cli.StopJob(record->GetJobID());
  EXPECT_TRUE(wait_until([&] { return countdowns == 1; }, 10000));
  EXPECT_EQ(shutdowns, 0);
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

// The job tables: what start-up shows, how snapshots change rows, and the context actions.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>
#include <fstream>

#include "WindowTestSupport.h"
#include "jobs/JobOwnership.h"
#include "support/AwkwardNames.h"
#include "support/QtPrinters.h"
#include "ui/InterfaceTranslation.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

// A time left of -1 is not known yet, -2 stands for finishing.
JobsStatus status(const std::string& jobID, JobState state, double left = -1, double progress = -1) {
  JobStatus job;
  job.jobID = jobID;
  job.state = state;
  job.leftKind = left == -2 ? TimeLeft::Kind::Finishing
                 : left < 0 ? TimeLeft::Kind::Estimating
                            : TimeLeft::Kind::Seconds;
  job.timeLeft = left < 0 ? -1 : left;
  job.progress = progress;
  return {job};
}

JobFinished finished(const std::string& jobID, JobState outcome, const std::string& reason = "") {
  JobFinished end;
  end.jobID = jobID;
  end.outcome = outcome;
  end.reason = reason;
  return end;
}

std::string make_file(const std::string& path) {
  std::ofstream(path) << "x";
  return path;
}

bool exists(const std::string& path) { return QFile::exists(QString::fromStdString(path)); }
bool job_file_exists(const std::string& jobID) {
  return exists(OSUtil::pathJoin(get_appjobfile_dir(), jobID + ".jobfile"));
}

}  // namespace

TEST_F(WindowTest, StoredJobsAreEachShownInOneTableAndSurviveARestart) {
  const std::string in = media + "/in.mp4", out = output_dir + "/out.mp4";
  // A job cut short by a kill reads stopped, as one stopped by the user does.
  const std::string plain = store_job(in, out), stopped = store_job(in, out, {false, false, true});
  const std::string completed = store_job(in, out, {true, false, false});
  const std::string deleted_done = store_job(in, out, {true, true, false});
  const std::string deleted_stopped = store_job(in, out, {true, true, true});
  const std::string deleted_new = store_job(in, out, {false, true, false});
  const std::string failed = store_job(in, out, {}, "Conversion failed!");
  std::ofstream(OSUtil::pathJoin(get_appjobfile_dir(), "broken.jobfile")) << "{\"JobID\":";

  for (int start = 0; start < 2; ++start) {
    open_window();
    EXPECT_EQ(manager->GetAllJobCount(), 7);
    EXPECT_EQ(rows(running()) * 100 + rows(done()) * 10 + rows(recycled()), 313);
    EXPECT_EQ(cells(running(), plain) + cells(running(), stopped) + cells(running(), failed),
              "Stopped|StoppedStopped|StoppedFailed|Failed");
    EXPECT_EQ(tip(running(), JobTable::rowOf(running(), failed), 2), "Failed: Conversion failed!");
    EXPECT_EQ(cells(done(), completed), "0:00|100.00%");
    EXPECT_EQ(
        cells(recycled(), deleted_done) + cells(recycled(), deleted_stopped) + cells(recycled(), deleted_new),
        "0:00|100.00%Stopped|StoppedStopped|Stopped");
    EXPECT_EQ(manager->GetRunningJobCount(), 0);  // nothing starts by itself
    // Each tab counts its jobs; no time is left of a finished job, and the bin
    // names its outputs.
    const QTabWidget* tabs = window->findChild<QTabWidget*>("tabWidget");
    EXPECT_EQ(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2),
              "Transcoding (3)Completed (1)RecycleBin (3)");
    EXPECT_TRUE(done()->isColumnHidden(2) && recycled()->isColumnHidden(2) && !running()->isColumnHidden(2));
    EXPECT_EQ(text(recycled(), JobTable::rowOf(recycled(), deleted_done), JobTable::kOutput),
              "out.mp4 (MP4, missing)");
  }
}

// A name or a reason from outside is never taken for markup: the window would load
// what an <img> names (a read of /dev/zero without end) on every hover.
TEST_F(WindowTest, NamesAndReasonsThatLookLikeMarkupAreShownAsWritten) {
  const std::string input = media + "/" + awkward_names().markup + ".mp4";
  const std::string output = output_dir + "/" + awkward_names().markup + "_output.mp4";
  const std::string reason = "<img src=\"/dev/zero\">Invalid data found";
  const std::string failed = store_job(input, output, {}, reason);
  const std::string completed = store_job(input, output, {true, false, false});
  open_window();
  const QString path = QString::fromStdString(input), why = "Failed: " + QString::fromStdString(reason);
  int row = JobTable::rowOf(running(), failed);
  EXPECT_EQ(text(running(), row, JobTable::kFileName), path);
  EXPECT_EQ(as_shown(tip(running(), row, JobTable::kFileName)), path + "\n" + why);
  EXPECT_EQ(as_shown(tip(running(), row, JobTable::kTimeRemaining)), why);
  row = JobTable::rowOf(done(), completed);
  EXPECT_EQ(as_shown(tip(done(), row, JobTable::kOutput)),
            QDir::toNativeSeparators("Input: " + path + "\nOutput: " + QString::fromStdString(output)));

  // Property: the paths' tooltips and the reason.
  const std::optional<JobView> failedJob = engine->View(failed);
  ASSERT_TRUE(failedJob);
  SettingWindow1File property(nullptr, input, "", true, &*failedJob);
  const auto* line = property.findChild<QLineEdit*>("lineEditInput");
  EXPECT_EQ(as_shown(line->toolTip()), "Input File: " + path);
  QStringList labels;
  for (const QLabel* label : property.findChildren<QLabel*>())
    labels << as_shown(label->text(), label->textFormat());
  EXPECT_TRUE(labels.contains(why)) << labels.join('|').toStdString();
}

// A stopped job shows how far it came, also after a restart; a failure reads in the
// language of the window that shows it, whoever ran the job.
TEST_F(WindowTest, AStoppedJobKeepsItsProgressAndAReasonIsSaidInTheViewersLanguage) {
  const std::string in = media + "/in.mp4";
  const std::string halfway = store_job(in, output_dir + "/a.mp4", {false, false, true});
  const std::string coded = store_job(in, output_dir + "/b.mp4", {}, "The encoder failed with exit code 1");
  const std::string newer = store_job(in, output_dir + "/c.mp4", {}, "a reason of a newer program");
  const auto stored = [](const std::string& jobID, const std::function<void(JobFile&)>& change) {
    JobFile record;
    record.Load(OSUtil::pathJoin(get_appjobfile_dir(), jobID + ".jobfile"));
    change(record);
    ASSERT_TRUE(record.Save());
  };
  stored(halfway, [](JobFile& record) { record.SetProgressReached(0.4213); });
  stored(coded, [](JobFile& record) { record.SetReason({JobReason::kExitCode, {"1"}}); });
  stored(newer, [](JobFile& record) { record.SetReason({"no-such-code", {}}); });

  QTranslator chinese;
  ASSERT_TRUE(load_interface_translation(chinese, "cn"));
  QCoreApplication::installTranslator(&chinese);
  open_window();
  const auto reason_of = [this](const std::string& jobID) {
    return tip(running(), JobTable::rowOf(running(), jobID), 3);
  };
  const QString shown_halfway = QString::fromStdString(cells(running(), halfway));
  const QString shown_coded = reason_of(coded), shown_newer = reason_of(newer);
  QCoreApplication::removeTranslator(&chinese);
  EXPECT_EQ(shown_halfway, QString::fromUtf8("已停止|42.13%"));
  EXPECT_EQ(shown_coded, QString::fromUtf8("失败: 编码器执行失败，退出码 1"));
  EXPECT_EQ(shown_newer, QString::fromUtf8("失败: a reason of a newer program"));
}

// Output names that differ only at their end stay apart however narrow the column.
TEST_F(WindowTest, FinishedOutputsAreCutAtTheirStartSoTheirEndsStayApart) {
  const std::string in = make_file(media + "/in.mp4");
  std::string jobs[2];
  const char* names[] = {"/a_long_holiday_trip_to_the_seaside_output.mp4",
                         "/a_long_holiday_trip_to_the_seaside_output_2.mp4"};
  for (int i = 0; i < 2; ++i) {
    std::ofstream(output_dir + names[i]) << std::string(1536 * 1024, 'x');
    jobs[i] = store_job(in, output_dir + names[i], {true});
  }
  Widget& w = open_window();
  w.resize(800, 600);
  w.findChild<QTabWidget*>("tabWidget")->setCurrentIndex(1);
  QApplication::processEvents();
  QImage cell[2];
  for (int i = 0; i < 2; ++i) {
    const int row = JobTable::rowOf(done(), jobs[i]);
    const QRect rect = done()->visualRect(done()->model()->index(row, JobTable::kOutput));
    const QString shown = text(done(), row, JobTable::kOutput);
    ASSERT_GT(done()->fontMetrics().horizontalAdvance(shown), rect.width()) << "fits: nothing is cut";
    cell[i] = done()->viewport()->grab(rect).toImage();
  }
  EXPECT_NE(cell[0], cell[1]) << "both outputs look alike";
}

TEST_F(WindowTest, SnapshotsRewriteTheCellsAndOnlyAFinishedJobMovesToCompleted) {
  const std::string a = store_job(media + "/a.mp4", output_dir + "/a.mp4");
  const std::string b = store_job(media + "/b.mp4", output_dir + "/b.mp4");
  const std::string c = store_job(media + "/c.mp4", output_dir + "/c.mp4", {false, false, true});
  Widget& w = open_window();
  for (JobState state : {JobState::Starting, JobState::Encoding}) manager->FindJob(a)->MoveTo(state);
  // The hour boundary and past a day, the states in words, and 0.99999 that rounds to 100% but is not done.
  const struct {
    JobState state;
    double left, progress;
    const char* shown;
  } cases[] = {{JobState::Encoding, -1, 0.25, "Estimating…|25.00%"},
               {JobState::Encoding, 59.4, 0, "0:59|0.00%"},
               {JobState::Encoding, 3599.5, -1, "1:00:00|Initializing"},
               {JobState::Encoding, 90061, 0.5, "25:01:01|50.00%"},
               {JobState::Encoding, -2, 0.9999, "Finishing…|99.99%"},
               {JobState::Waiting, -1, -1, "queueing|queueing"},
               {JobState::Stopping, -1, -1, "Stopping|Stopping"},
               {JobState::Elsewhere, -1, -1, "-:-:-|In another Kovadle"},
               {JobState::Encoding, 0, 0.99999, "0:00|100.00%"}};
  for (const auto& sent : cases) {
    w.update_jobsProgress_mainWindowUI(status(a, sent.state, sent.left, sent.progress));
    EXPECT_EQ(cells(running(), a), sent.shown) << sent.shown;
  }
  w.update_jobsProgress_mainWindowUI(
      status("00000000-0000-0000-0000-000000000000", JobState::Encoding, 0, 1));
  // Figures taken before the user stopped a job must not hide that it stopped.
  w.update_jobsProgress_mainWindowUI(status(c, JobState::Encoding, 10, 0.5));
  EXPECT_EQ(cells(running(), c), "Stopped|Stopped");

  // A failure says why, on the row and after a restart.
  w.slot_job_finished(finished(b, JobState::Failed, "No space left on device"));
  EXPECT_EQ(cells(running(), b), "Failed|Failed");
  EXPECT_TRUE(tip(running(), JobTable::rowOf(running(), b), 3).contains("No space left on device"));
  w.slot_job_finished(finished(a, JobState::Completed));
  EXPECT_EQ(rows(running()), 2);
  EXPECT_EQ(cells(done(), a), "0:00|100.00%");
}

TEST_F(WindowTest, MenuShowsWhatFitsTheJobAndDeleteRefusesAnActiveJob) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string encoding = store_job(in, output_dir + "/a.mp4");
  const std::string stopped = store_job(in, output_dir + "/b.mp4", {false, false, true});
  const std::string completed = store_job(in, output_dir + "/c.mp4", {true, false, false});
  const std::string recycled_job = store_job(in, output_dir + "/d.mp4", {true, true, false});
  open_window();
  run_slowly(encoding);

  // "file manager" on Linux, "Explorer" on Windows.
  const QStringList show = {DesktopOpener::showInputText(), DesktopOpener::showOutputText()};
  EXPECT_EQ(open_menu(running(), encoding),
            show + QStringList({"Stop transcoding", "Pause", "Delete", "Property"}));
  EXPECT_EQ(open_menu(running(), stopped), show + QStringList({"Transcode again", "Delete", "Property"}));
  // A finished job is not run again; "Transcode again…" makes a new job of its input.
  EXPECT_EQ(open_menu(done(), completed),
            QStringList{"Play output"} + show + QStringList({"Transcode again…", "Delete", "Property"}));
  EXPECT_EQ(open_menu(recycled(), recycled_job),
            show + QStringList({"Restore", "Delete completely", "Empty Recycle Bin", "Property"}));

  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + ":" + text; });
  open_menu(running(), encoding, "Delete");
  EXPECT_EQ(boxes, QStringList{"Information:Transcode ongoing, please first stop the all transcoding!"});
  EXPECT_EQ(JobTable::rowOf(running(), encoding), 0);
  EXPECT_TRUE(active(encoding));

  // Stopped, then deleted, the job stays in the recycle bin across a restart.
  open_menu(running(), encoding, "Stop transcoding");
  EXPECT_TRUE(wait_until([&] { return cells(running(), encoding) == "stopped|stopped"; }, 30000))
      << cells(running(), encoding);
  open_menu(running(), encoding, "Delete");
  open_menu(done(), completed, "Delete");
  open_window();
  EXPECT_EQ(rows(running()) * 100 + rows(done()) * 10 + rows(recycled()), 103);
  EXPECT_EQ(cells(recycled(), encoding), "Stopped|Stopped");
}

TEST_F(WindowTest, ActionsFollowTheirJobWhenRowsMoveWhileTheMenuIsOpen) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string finishing = store_job(in, output_dir + "/a.mp4");
  const std::string encoding = store_job(in, output_dir + "/b.mp4");
  const std::string waiting = store_job(in, output_dir + "/c.mp4");
  machine_busy(true);  // the queued job stays queued
  Widget& w = open_window();
  run_slowly(encoding);
  run_slowly(waiting);
  // The row above finishes while the menu is open, so the waiting job's row moves
  // up to where the menu was opened.
  open_menu(running(), encoding, "Stop transcoding",
            [&] { w.slot_job_finished(finished(finishing, JobState::Completed)); });
  EXPECT_TRUE(wait_until([&] { return !active(encoding); }, 30000));
  EXPECT_FALSE(manager->FindJob(waiting)->IsStopped());
}

// A job another Kovadle (kovadle-cli) runs just now is shown as such, is not run,
// stopped or deleted here, and takes its state back once that one lets it go.
TEST_F(WindowTest, AJobAnotherKovadleRunsIsShownAsSuchAndLeftAlone) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string theirs = store_job(in, output_dir + "/theirs.mp4");
  auto other = std::make_unique<JobOwnership>(get_appjobfile_dir(), theirs);
  ASSERT_TRUE(other->Take());
  open_window();
  EXPECT_EQ(cells(running(), theirs), "-:-:-|In another Kovadle");
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString&) { boxes << title; });
  for (const char* action : {"Transcode again", "Delete"}) open_menu(running(), theirs, action);
  EXPECT_EQ(boxes, QStringList({"Information", "Information"}));
  EXPECT_TRUE(manager->FindJob(theirs)->IsElsewhere() && JobTable::rowOf(running(), theirs) == 0);
  other.reset();
  EXPECT_TRUE(wait_until([&] { return cells(running(), theirs) == "Stopped|Stopped"; }, 10000))
      << cells(running(), theirs);
  EXPECT_EQ(manager->FindJob(theirs)->GetState(), JobState::Idle);
}

// The output goes with a job deleted for good only when the user asks (the box is
// clear at first), to the trash, and never when another job names it.
TEST_F(WindowTest, DeletingForGoodTrashesTheOutputOnlyWhenAskedAndNeverAnotherJobsOutput) {
  const std::string in = make_file(media + "/in.mp4");
  std::string outputs[3], jobs[4];
  for (int i = 0; i < 3; ++i) outputs[i] = make_file(output_dir + "/" + std::to_string(i) + ".mp4");
  for (int i = 0; i < 4; ++i) jobs[i] = store_job(in, outputs[std::min(i, 2)], {true, true, false});
  open_window();
  // "Cancel, do not delete", then Yes with the box checked, Yes as it is, and Yes.
  QStringList answers = {"cancel", "check", "yes"}, texts;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box == nullptr) return false;
    QCheckBox* also_output = box->checkBox();
    texts << box->text() + (also_output ? also_output->text() + (also_output->isChecked() ? "[x]" : "[ ]") +
                                              (also_output->isEnabled() ? "" : "-")
                                        : "");
    const QString answer = answers.isEmpty() ? "yes" : answers.takeFirst();
    if (answer == "check" && also_output->isEnabled()) also_output->setChecked(true);
    box->button(answer == "cancel" ? QMessageBox::No : QMessageBox::Yes)->click();
    return true;
  });
  open_menu(recycled(), jobs[0], "Delete completely");
  EXPECT_TRUE(job_file_exists(jobs[0]));
  open_menu(recycled(), jobs[0], "Delete completely");
  open_menu(recycled(), jobs[1], "Delete completely");
  EXPECT_FALSE(job_file_exists(jobs[0]) || exists(outputs[0]) || job_file_exists(jobs[1]));
  EXPECT_TRUE(exists(outputs[1]));
  // Two jobs name the third output: it stays, and the box says why.
  open_menu(recycled(), jobs[2], "Delete completely");
  EXPECT_TRUE(!job_file_exists(jobs[2]) && exists(outputs[2]));
  const QString question =
      "Are you sure to completely delete the transcoding task?Also delete the transcoding output files.";
  EXPECT_EQ(texts, QStringList({question + "[ ]", question + "[ ]", question + "[ ]",
                                question + " (kept: another job's output)[ ]-"}));

  open_menu(recycled(), jobs[3], "Empty Recycle Bin");
  EXPECT_EQ(texts.last(), "Are you sure to empty the recyle bin?");
  EXPECT_EQ(rows(recycled()) + manager->GetAllJobCount(), 0);
  EXPECT_FALSE(job_file_exists(jobs[3]));
  EXPECT_TRUE(exists(outputs[1]) && exists(outputs[2]));
}

TEST_F(WindowTest, ARestoredJobTranscodesAgainAndItsOutputIsAtHand) {
  ClipSpec small;
  small.seconds = 0.5;
  const std::string clip = make_clip(media, "clip.mp4", small);
  const std::string output = output_dir + "/clip_output.mp4", gone = output_dir + "/gone.mkv";
  const std::string unfinished = store_job(clip, output, {false, true, true});
  const std::string finished = store_job(clip, gone, {true, true, false});
  open_window();
  open_menu(recycled(), unfinished, "Restore");
  open_menu(recycled(), finished, "Restore");
  open_window();  // a restart keeps them where they went back to, stopped
  EXPECT_EQ(rows(recycled()), 0);
  EXPECT_EQ(cells(running(), unfinished) + cells(done(), finished), "Stopped|Stopped0:00|100.00%");

  open_menu(running(), unfinished, "Transcode again");
  ASSERT_TRUE(wait_until([&] { return JobTable::rowOf(done(), unfinished) >= 0; }, 120000));
  const int row = JobTable::rowOf(done(), unfinished);
  const QString shown = text(done(), row, JobTable::kOutput);
  EXPECT_TRUE(shown.startsWith("clip_output.mp4 (MP4, ") && shown.endsWith("KB)")) << shown.toStdString();
  // Both paths as the system writes them.
  EXPECT_EQ(tip(done(), row, JobTable::kFileName),
            QDir::toNativeSeparators(QString::fromStdString("Input: " + clip + "\nOutput: " + output)));
  emit done()->doubleClicked(done()->model()->index(row, JobTable::kFileName));
  EXPECT_EQ(launched, QStringList{QString::fromStdString(output)});

  // An output that is gone is said so, and nothing is opened.
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + ":" + text; });
  EXPECT_EQ(text(done(), JobTable::rowOf(done(), finished), JobTable::kOutput), "gone.mkv (MKV, missing)");
  open_menu(done(), finished, "Play output");
  EXPECT_EQ(boxes, QStringList{"Information:The output file is not there any more:\n" +
                               QDir::toNativeSeparators(QString::fromStdString(gone))});
  EXPECT_EQ(launched.size(), 1);
}

// Pause all holds every running job, whose row says so, and turns into Resume all;
// a job started meanwhile waits. A paused job's menu offers Resume; the application
// menu and Ctrl+P do what the button does, and a paused job stops as a running one.
TEST_F(WindowTest, PauseAllHoldsTheRunningJobsTheirRowsSaySoAndNothingNewStarts) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string first = store_job(in, output_dir + "/a.mp4");
  const std::string second = store_job(in, output_dir + "/b.mp4");
  Widget& w = open_window();
  auto* pause = w.findChild<QPushButton*>("btnPauseAll");
  EXPECT_EQ(pause->text(), "Pause all");
  EXPECT_FALSE(pause->isEnabled()) << "nothing runs to pause";
  EXPECT_LE(pause->geometry().left(), w.findChild<QWidget*>("labelAccount")->geometry().left());
  EXPECT_GE(pause->width(), pause->fontMetrics().horizontalAdvance("Resume all"));

  run_slowly(first);
  ASSERT_TRUE(wait_until([&] { return manager->FindJob(first)->GetPid() > 0 && pause->isEnabled(); }, 30000));
  pause->click();
  EXPECT_TRUE(wait_until([&] { return cells(running(), first).rfind("Paused|", 0) == 0; }, 10000))
      << cells(running(), first);
  EXPECT_EQ(pause->text(), "Resume all");
  run_slowly(second);
  QTest::qWait(1500);
  EXPECT_EQ(cells(running(), second), "queueing|queueing") << "a job started while another was paused";
  const QStringList show = {DesktopOpener::showInputText(), DesktopOpener::showOutputText()};
  EXPECT_EQ(open_menu(running(), first, "Resume"),
            show + QStringList({"Stop transcoding", "Resume", "Delete", "Property"}));
  EXPECT_TRUE(wait_until([&] { return cells(running(), first).rfind("Paused|", 0) != 0; }, 10000));
  EXPECT_EQ(pause->text(), "Pause all");
  EXPECT_TRUE(wait_until([&] { return manager->FindJob(second)->GetState() == JobState::Encoding; }, 30000));

  // The application menu's first entry, then the key, the other way.
  QStringList entries;
  QTimer::singleShot(200, [&entries] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) entries << action->text();
    menu->hide();
    menu->actions().first()->trigger();
  });
  QTest::mouseClick(w.findChild<QWidget*>("labelMenu"), Qt::LeftButton);
  ASSERT_FALSE(entries.isEmpty());
  EXPECT_EQ(entries.first(), "Pause all");
  EXPECT_EQ(engine->PausedJobCount(), 2);
  EXPECT_TRUE(wait_until([&] { return cells(running(), second).rfind("Paused|", 0) == 0; }, 10000))
      << cells(running(), second);
  QApplication::setActiveWindow(&w);
  QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(engine->PausedJobCount(), 0);
  QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(engine->PausedJobCount(), 2);

  open_menu(running(), first, "Stop transcoding");
  EXPECT_TRUE(wait_until([&] { return cells(running(), first) == "stopped|stopped"; }, 30000))
      << cells(running(), first);
  EXPECT_EQ(pause->text(), "Resume all");
}

TEST_F(WindowTest, KeysAddDeleteOpenPropertyAndTabWalksTheControls) {
  const std::string completed = store_job(make_file(media + "/in.mp4"), output_dir + "/a.mp4", {true});
  Widget& w = open_window();
  QApplication::setActiveWindow(&w);
  QStringList dialogs;
  QObject guard;
  handle_modal_dialogs(&guard, [&dialogs](QDialog* dialog) {
    if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;
    dialogs << dialog->windowTitle();
    return false;
  });
  QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
  QApplication::setActiveWindow(&w);  // back from the file dialog
  w.findChild<QTabWidget*>("tabWidget")->setCurrentIndex(1);
  done()->setFocus();
  done()->selectRow(0);
  QTest::keyClick(done(), Qt::Key_Return);
  EXPECT_EQ(dialogs, QStringList({"Open file", "Property"}));
  QApplication::setActiveWindow(&w);
  done()->setFocus();
  QTest::keyClick(done(), Qt::Key_Delete);
  EXPECT_EQ(JobTable::rowOf(recycled(), completed), 0);

  w.findChild<QWidget*>("btnAdd1File")->setFocus();
  QStringList order;
  for (int i = 0; i < 7 && QApplication::focusWidget() != nullptr; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QWidget* focus = QApplication::focusWidget();
    order << (focus == nullptr ? "none" : focus->objectName());
  }
  EXPECT_EQ(order, QStringList({"btnAddNFile", "btnAddFolder", "qt_tabwidget_tabbar", "tableWidgetDone",
                                "btnChangeOutput", "labelMenu", "checkBoxShutdown"}));
}

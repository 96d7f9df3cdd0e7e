// The job tables: what start-up shows, how snapshots change rows, and the actions
// of the context menu.
#include <QCheckBox>
#include <QMessageBox>
#include <QStringList>
#include <fstream>

#include "WindowTestSupport.h"
#include "support/QtPrinters.h"

namespace {

std::string snapshot(const std::string& jobID, const std::string& value) {
  return "{\"" + jobID + "\":\"" + value + "\"}";
}

std::string make_file(const std::string& path) {
  std::ofstream(path) << "x";
  return path;
}

}  // namespace

TEST_F(WindowTest, StoredJobsAreEachShownInOneTableAndSurviveARestart) {
  const std::string in = media + "/in.mp4";
  const std::string plain = store_job(in, output_dir + "/a.mp4");
  const std::string stopped = store_job(in, output_dir + "/b.mp4", {false, false, true});
  const std::string completed = store_job(in, output_dir + "/c.mp4", {true, false, false});
  const std::string deleted_done = store_job(in, output_dir + "/d.mp4", {true, true, false});
  const std::string deleted_stopped = store_job(in, output_dir + "/e.mp4", {true, true, true});
  const std::string deleted_new = store_job(in, output_dir + "/f.mp4", {false, true, false});
  // A damaged file costs nothing but itself.
  std::ofstream(OSUtil::pathJoin(get_appjobfile_dir(), "broken.jobfile")) << "{\"JobID\":";

  for (int start = 0; start < 2; ++start) {
    if (start == 0) {
      open_window();
    } else {
      restart();
    }
    EXPECT_EQ(manager->GetAllJobCount(), 6);
    EXPECT_EQ(running()->rowCount(), 2);
    EXPECT_EQ(done()->rowCount(), 1);
    EXPECT_EQ(recycled()->rowCount(), 3);
    EXPECT_EQ(cells(running(), plain), "-:-:-|0.00%");
    EXPECT_EQ(cells(running(), stopped), "Stopped|Stopped");
    EXPECT_EQ(cells(done(), completed), "0 sec|100.00%");
    EXPECT_EQ(cells(recycled(), deleted_done), "0 sec|100.00%");
    EXPECT_EQ(cells(recycled(), deleted_stopped), "Stopped|Stopped");
    EXPECT_EQ(cells(recycled(), deleted_new), "-:-:-|0.00%");
    EXPECT_EQ(running()->item(0, 1)->text().toStdString(), in);
    EXPECT_TRUE(running()->isColumnHidden(0));
    // Nothing starts by itself.
    EXPECT_EQ(manager->GetRunningJobCount(), 0);
  }
}

TEST_F(WindowTest, SnapshotsRewriteTheCellsAndOnlyAFinishedJobMovesToCompleted) {
  const std::string a = store_job(media + "/a.mp4", output_dir + "/a.mp4");
  const std::string b = store_job(media + "/b.mp4", output_dir + "/b.mp4");
  const std::string c = store_job(media + "/c.mp4", output_dir + "/c.mp4", {false, false, true});
  Widget& w = open_window();
  const auto apply = [&w](const std::string& text) {
    w.update_jobsProgress_mainWindowUI(QString::fromStdString(text));
  };

  const std::pair<const char*, const char*> shown[] = {{"-1.000000|0.250000", "Calculating|25.00%"},
                                                       {"59.900000|0.000000", "59 sec|0.00%"},
                                                       {"60.000000|-1.000000", "00:01:00|Initializing"},
                                                       {"90061.000000|0.5", "25:01:01|50.00%"},
                                                       {"queueing|queueing", "queueing|queueing"},
                                                       {"Failed|Failed", "Failed|Failed"},
                                                       {"0.000000|0.999990", "0 sec|100.00%"}};
  for (const auto& [sent, expected] : shown) {
    apply(snapshot(a, sent));
    EXPECT_EQ(cells(running(), a), expected) << sent;
  }
  EXPECT_EQ(running()->rowCount(), 3);

  const std::string before = cells(running(), a) + cells(running(), b);
  apply(snapshot("00000000-0000-0000-0000-000000000000", "0.000000|1.000000"));
  EXPECT_EQ(cells(running(), a) + cells(running(), b), before);
  // Figures taken before the user stopped a job must not hide that it stopped.
  apply(snapshot(c, "10.000000|0.500000"));
  EXPECT_EQ(cells(running(), c), "Stopped|Stopped");

  // Figures past the end while the encoder still writes: not finished yet.
  run_slowly(c);
  apply(snapshot(c, "-0.026738|1.020000"));
  EXPECT_EQ(cells(running(), c), "Calculating|100.00%");

  apply("{\"" + a + "\":\"0.000000|1.000000\",\"" + b + "\":\"-1.000000|1.000000\"}");
  EXPECT_EQ(running()->rowCount(), 1);
  EXPECT_EQ(JobTable::rowOf(running(), c), 0);
  EXPECT_EQ(cells(done(), a), "0 sec|100.00%");
  EXPECT_EQ(cells(done(), b), "0 sec|100.00%");
  EXPECT_EQ(shutdowns, 0);
}

TEST_F(WindowTest, MenuShowsWhatFitsTheJobAndDeleteRefusesAnActiveJob) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string encoding = store_job(in, output_dir + "/a.mp4");
  const std::string stopped = store_job(in, output_dir + "/b.mp4", {false, false, true});
  const std::string completed = store_job(in, output_dir + "/c.mp4", {true, false, false});
  const std::string recycled_job = store_job(in, output_dir + "/d.mp4", {true, true, false});
  open_window();
  run_slowly(encoding);
  ASSERT_TRUE(active(encoding));

  const QStringList always = {"Show input in Explorer", "Show output in Explorer"};
  EXPECT_EQ(open_menu(running(), encoding), always + QStringList({"Stop transcoding", "Delete", "Property"}));
  EXPECT_EQ(open_menu(running(), stopped), always + QStringList({"Transcode again", "Delete", "Property"}));
  EXPECT_EQ(open_menu(done(), completed), always + QStringList({"Delete", "Property"}));
  EXPECT_EQ(open_menu(recycled(), recycled_job),
            always + QStringList({"Delete completely", "Empty Recycle Bin", "Property"}));

  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + ":" + text; });
  open_menu(running(), encoding, "Delete");
  EXPECT_EQ(boxes, QStringList{"Information:Transcode ongoing, please first stop the all transcoding!"});
  EXPECT_EQ(running()->rowCount(), 2);
  EXPECT_EQ(recycled()->rowCount(), 1);
  EXPECT_TRUE(active(encoding));

  // The folders are opened through xdg-open, replaced here by a recorder.
  const QString bin = QString::fromStdString(make_temp_folder("fake-bin"));
  const QString opened = bin + "/opened";
  QFile script(bin + "/xdg-open");
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\necho \"$1\" >> " + opened + "\n").toUtf8());
  script.close();
  script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.toUtf8() + ":" + path);
  open_menu(done(), completed, "Show input in Explorer");
  open_menu(done(), completed, "Show output in Explorer");
  qputenv("PATH", path);
  const auto opened_folders = [&opened] {
    QFile log(opened);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
  };
  EXPECT_TRUE(wait_until([&] { return opened_folders().count('\n') == 2; }, 20000));
  EXPECT_EQ(opened_folders(), QString::fromStdString(media + "\n" + output_dir + "\n"));

  // Property shows the job's settings and changes nothing.
  boxes.clear();
  QObject property_guard;
  handle_modal_dialogs(&property_guard, [&](QDialog* dialog) {
    if (dialog->windowTitle() != "Property") return false;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
      if (button->isVisible()) boxes << "Property:" + button->text();
    dialog->close();
    return true;
  });
  open_menu(done(), completed, "Property");
  EXPECT_EQ(boxes, QStringList{"Property:Close window"});
  EXPECT_EQ(done()->rowCount(), 1);

  // Stop, then delete: the job leaves for the recycle bin and stays there after a restart.
  open_menu(running(), encoding, "Stop transcoding");
  EXPECT_FALSE(active(encoding));
  EXPECT_EQ(cells(running(), encoding), "stopped|stopped");
  open_menu(running(), encoding, "Delete");
  EXPECT_EQ(cells(recycled(), encoding), "Stopped|Stopped");
  open_menu(done(), completed, "Delete");
  EXPECT_EQ(running()->rowCount(), 1);
  EXPECT_EQ(done()->rowCount(), 0);
  restart();
  EXPECT_EQ(recycled()->rowCount(), 3);
  EXPECT_EQ(JobTable::rowOf(recycled(), completed), 2);
}

TEST_F(WindowTest, ActionsFollowTheirJobWhenRowsMoveWhileTheMenuIsOpen) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string finishing = store_job(in, output_dir + "/a.mp4");
  const std::string encoding = store_job(in, output_dir + "/b.mp4");
  const std::string waiting = store_job(in, output_dir + "/c.mp4");
  // A busy machine: the queued job stays queued.
  UpdateGUIThread::setLoadSampler([](int ms) {
    OSUtil::sleepMs(ms);
    return 100;
  });
  Widget& w = open_window();
  run_slowly(encoding);
  run_slowly(waiting);
  ASSERT_TRUE(manager->FindJob(waiting)->IsQueueing());

  // The row above finishes while the user looks at the menu of the encoding job,
  // so the row below moves up to where the menu was opened.
  open_menu(running(), encoding, "Stop transcoding", [&] {
    w.update_jobsProgress_mainWindowUI(QString::fromStdString(snapshot(finishing, "0.000000|1.000000")));
  });
  EXPECT_FALSE(active(encoding));
  EXPECT_TRUE(manager->FindJob(waiting)->IsQueueing());
  EXPECT_EQ(cells(running(), encoding), "stopped|stopped");
}

TEST_F(WindowTest, DeletingForGoodRemovesTheOutputOnlyWhenAsked) {
  const std::string in = make_file(media + "/in.mp4");
  const std::string with_output = store_job(in, make_file(output_dir + "/a.mp4"), {true, true, false});
  const std::string keep_output = store_job(in, make_file(output_dir + "/b.mp4"), {true, true, false});
  const std::string bin1 = store_job(in, make_file(output_dir + "/c.mp4"), {false, true, true});
  const std::string bin2 = store_job(in, make_file(output_dir + "/d.mp4"), {true, true, false});
  open_window();

  // Answers: first "Cancel, do not delete", then Yes with the box as it is, then Yes unchecked.
  QStringList answers = {"cancel", "yes", "uncheck"};
  QStringList seen;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box == nullptr) return false;
    seen << box->text() + (box->checkBox() ? "|" + box->checkBox()->text() +
                                                 (box->checkBox()->isChecked() ? "|checked" : "|unchecked")
                                           : QString());
    const QString answer = box->checkBox() && !answers.isEmpty() ? answers.takeFirst() : "yes";
    if (answer == "uncheck") box->checkBox()->setChecked(false);
    (answer == "cancel" ? box->button(QMessageBox::No) : box->button(QMessageBox::Yes))->click();
    return true;
  });

  const QString question =
      "Are you sure to completely delete the transcoding task?|Also delete the transcoding output "
      "files.|checked";
  open_menu(recycled(), with_output, "Delete completely");
  EXPECT_TRUE(job_file_exists(with_output));
  EXPECT_EQ(recycled()->rowCount(), 4);
  open_menu(recycled(), with_output, "Delete completely");
  EXPECT_FALSE(job_file_exists(with_output));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(output_dir + "/a.mp4")));
  open_menu(recycled(), keep_output, "Delete completely");
  EXPECT_FALSE(job_file_exists(keep_output));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(output_dir + "/b.mp4")));
  EXPECT_EQ(seen, (QStringList{question, question, question}));

  open_menu(recycled(), bin1, "Empty Recycle Bin");
  EXPECT_EQ(seen.last(), "Are you sure to empty the recyle bin?");
  EXPECT_EQ(recycled()->rowCount(), 0);
  EXPECT_FALSE(job_file_exists(bin1) || job_file_exists(bin2));
  EXPECT_EQ(manager->GetAllJobCount(), 0);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(output_dir + "/c.mp4")));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(output_dir + "/d.mp4")));
}

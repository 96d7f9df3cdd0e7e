// Adding videos: refusals with their messages, the proposed output names, drops,
// and one real encode from the button's flow to the Completed table.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <fstream>
#include <set>

#include "WindowTestSupport.h"
#include "planning/SettingWindow1File.h"
#include "support/QtPrinters.h"
#include "ui/WaitingLoadingFile.h"

namespace {

// Answers the add flow's dialogs: the settings dialog with "Start Transcoding"
// (remembering the output it proposed), message boxes with Ok (remembering them).
struct AddFlowAnswers {
  QStringList seen;
  QObject guard;

  AddFlowAnswers() {
    handle_modal_dialogs(&guard, [this](QDialog* dialog) {
      if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;  // closes itself
      if (auto* settings = qobject_cast<SettingWindow1File*>(dialog)) {
        seen << "settings:" + QString::fromStdString(OSUtil::getFileName(settings->GetOutputFile()));
        for (QPushButton* button : settings->findChildren<QPushButton*>()) {
          if (button->text() == "Start Transcoding") button->click();
        }
        return true;
      }
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) seen << box->windowTitle() + ":" + box->text();
      return false;
    });
  }
};

ClipSpec sized(int width, int height, double seconds, int fps = 25) {
  ClipSpec spec;
  spec.width = width;
  spec.height = height;
  spec.seconds = seconds;
  spec.fps = fps;
  return spec;
}

}  // namespace

TEST_F(WindowTest, AddingRefusesWhatCannotBeTranscodedAndNamesOutputsOneByOne) {
  ClipSpec audio_only;
  audio_only.video = false;
  ClipSpec narrow;  // odd widths need 4:4:4 and a scale after the test source
  narrow.width = 480;
  narrow.height = 270;
  narrow.pix_fmt = "yuv444p";
  narrow.extra_args = "-vf\nscale=479:270";
  const ClipSpec small = sized(480, 270, 1.0);
  const ClipSpec too_wide = sized(4502, 64, 0.5);
  const ClipSpec widest = sized(4500, 64, 0.5);
  const std::string text = media + "/notes.txt";
  std::ofstream(text) << "not a video\n";

  struct Case {
    std::string path;
    QString expected;
  };
  const std::string accepted = make_clip(media, "clip.mp4", small);
  const std::string qlv = media + "/clip.qlv";
  const std::string upper_qlv = media + "/upper.QLV";
  QFile::copy(QString::fromStdString(accepted), QString::fromStdString(qlv));
  QFile::copy(QString::fromStdString(accepted), QString::fromStdString(upper_qlv));
  const Case cases[] = {
      {make_clip(media, "tone.m4a", audio_only), "Information:Not support audio only file!"},
      {make_clip(media, "narrow.mp4", narrow), "Information:Video width less than 480 are not supported!"},
      {make_clip(media, "wide.mp4", too_wide),
       "Information:Resolution larger than 4k are not supported (4k and below are supported)!"},
      {text, "Information:Non video files are not supported!"},
      {qlv, "Information:qlv is in Tencent's private format and currently not supported!"},
      {make_clip(media, "widest.mp4", widest), "settings:widest_output.mp4"},
      // Only the lower-case extension is a vendor format; this one is judged by its content.
      {upper_qlv, "settings:upper_output.mp4"},
      {accepted, "settings:clip_output.mp4"},
  };
  open_window();
  AddFlowAnswers answers;
  for (const Case& c : cases) {
    answers.seen.clear();
    const int rows = running()->rowCount();
    const bool added = window->add_video_file(QString::fromStdString(c.path));
    EXPECT_EQ(answers.seen, QStringList{c.expected}) << c.path;
    EXPECT_EQ(added, c.expected.startsWith("settings:")) << c.path;
    EXPECT_EQ(running()->rowCount() + done()->rowCount(), rows + (added ? 1 : 0)) << c.path;
  }
  ASSERT_EQ(manager->GetAllJobCount(), 3);
  const JobFile* record = manager->GetAllJobs().back()->GetJobFile();
  EXPECT_EQ(record->GetInputFile(), accepted);
  EXPECT_EQ(record->GetOutputFile(), output_dir + "/clip_output.mp4");
  EXPECT_EQ(record->GetQuality(), "95");
  EXPECT_EQ(record->GetOutputCodec(), "h264");
  EXPECT_EQ(record->GetOutputFormat(), ".mp4");
  EXPECT_TRUE(job_file_exists(record->GetJobID()));

  // Once the first output exists, the same input is offered the next free name.
  ASSERT_TRUE(wait_until(
      [&] { return QFile::exists(QString::fromStdString(output_dir + "/clip_output.mp4")); }, 120000));
  answers.seen.clear();
  EXPECT_TRUE(window->add_video_file(QString::fromStdString(accepted)));
  EXPECT_EQ(answers.seen, QStringList{"settings:clip_output_2.mp4"});
}

TEST_F(WindowTest, DroppedFilesGoThroughTheSameFlowOneAfterAnother) {
  const std::string clip = make_clip(media, "dropped.mp4", sized(480, 270, 1.0));
  const std::string text = media + "/notes.txt";
  std::ofstream(text) << "not a video\n";
  Widget& w = open_window();
  AddFlowAnswers answers;

  QMimeData folder_only;
  folder_only.setUrls({QUrl::fromLocalFile(QString::fromStdString(media))});
  QDragEnterEvent refused(QPoint(100, 100), Qt::CopyAction, &folder_only, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &refused);
  EXPECT_FALSE(refused.isAccepted());

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(clip)), QUrl("https://example.com/a.mp4"),
                 QUrl::fromLocalFile(QString::fromStdString(media)),
                 QUrl::fromLocalFile(QString::fromStdString(text))});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  ASSERT_TRUE(wait_until([&] { return answers.seen.size() == 2; }, 120000));
  EXPECT_EQ(answers.seen,
            QStringList({"settings:dropped_output.mp4", "Information:Non video files are not supported!"}));
  EXPECT_EQ(manager->GetAllJobCount(), 1);
}

TEST_F(WindowTest, AddedVideoEncodesWithVisibleProgressAndEndsInCompleted) {
  const std::string clip = make_clip(media, "full_hd.mp4", sized(1920, 1080, 4.0, 30));
  open_window();
  AddFlowAnswers answers;
  ASSERT_TRUE(window->add_video_file(QString::fromStdString(clip)));
  const std::string jobID = JobTable::jobID(running(), 0);

  std::set<std::string> progress_seen;
  const bool finished = wait_until(
      [&] {
        const std::string shown = cells(running(), jobID);
        if (!shown.empty()) progress_seen.insert(shown);
        return JobTable::rowOf(done(), jobID) >= 0;
      },
      600000);
  ASSERT_TRUE(finished) << "still " << cells(running(), jobID);
  EXPECT_EQ(cells(done(), jobID), "0 sec|100.00%");
  // Beyond the row's first texts, at least one real figure was shown on the way.
  progress_seen.erase("-:-:-|0.00%");
  EXPECT_FALSE(progress_seen.empty());

  const std::string output = output_dir + "/full_hd_output.mp4";
  EXPECT_EQ(probe_entry(output, "v:0", "codec_name"), "h264");
  EXPECT_EQ(probe_entry(output, "a:0", "codec_name"), "aac");
  EXPECT_EQ(probe_entry(output, "v:0", "width") + "x" + probe_entry(output, "v:0", "height"), "1920x1080");
  EXPECT_FALSE(manager->FindJob(jobID)->IsFailed());
}

TEST_F(WindowTest, ChangedOutputFolderIsShownSavedAndOfferedForTheNextVideo) {
  const std::string clip = make_clip(media, "next.mp4", sized(480, 270, 0.5));
  const std::string chosen = make_temp_folder("chosen");
  Widget& w = open_window();
  auto* line = w.findChild<QLineEdit*>("lineEditOutputDir");
  EXPECT_EQ(line->text().toStdString(), " Output Dir:    " + output_dir);

  bool cancel = true;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* folders = qobject_cast<QFileDialog*>(dialog);
    if (folders == nullptr) return false;
    if (cancel) {
      folders->reject();
    } else {
      folders->setDirectory(QString::fromStdString(chosen));
      dialog->accept();  // through QDialog: the file dialog checks its choice
    }
    return true;
  });
  w.on_btnChangeOutput_clicked();
  EXPECT_EQ(line->text().toStdString(), " Output Dir:    " + output_dir);
  EXPECT_EQ(UserSettings(UserSettings::instance().path()).get("OutputDir"), output_dir);

  cancel = false;
  w.on_btnChangeOutput_clicked();
  EXPECT_EQ(line->text().toStdString(), " Output Dir:    " + chosen);
  EXPECT_EQ(UserSettings(UserSettings::instance().path()).get("OutputDir"), chosen);

  AddFlowAnswers answers;
  ASSERT_TRUE(w.add_video_file(QString::fromStdString(clip)));
  EXPECT_EQ(manager->GetAllJobs().back()->GetJobFile()->GetOutputFile(), chosen + "/next_output.mp4");
}

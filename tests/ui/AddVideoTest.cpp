// Adding videos: refusals with their messages, proposed output names, drops, the
// output folder, and one real encode from the add flow to the Completed table.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

#include "WindowTestSupport.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "probe/MediaInfoCache.h"
#include "support/QtPrinters.h"
#include "ui/RememberedChoices.h"

TEST_F(WindowTest, AddingRefusesWhatCannotBeTranscodedAndNamesOutputsOneByOne) {
  ClipSpec audio_only, narrow = clip_of(480, 270, 0.5);
  audio_only.video = false;
  narrow.pix_fmt = "yuv444p";  // odd widths need 4:4:4, scaled after the test source
  narrow.extra_args = "-vf\nscale=479:270";
  const std::string clip = make_clip(media, "clip.mp4", clip_of(480, 270, 1.0));
  for (const char* copy : {"/clip.qlv", "/upper.QLV"})
    QFile::copy(QString::fromStdString(clip), QString::fromStdString(media + copy));
  std::ofstream(media + "/notes.txt") << "not a video\n";
  const std::pair<std::string, QString> cases[] = {
      {make_clip(media, "tone.m4a", audio_only), "Information:Not support audio only file!"},
      {make_clip(media, "narrow.mp4", narrow), "Information:Video width less than 480 are not supported!"},
      {make_clip(media, "wide.mp4", clip_of(4502, 64, 0.5)),
       "Information:Resolution larger than 4k are not supported (4k and below are supported)!"},
      {media + "/notes.txt", "Information:Non video files are not supported!"},
      {media + "/clip.qlv", "Information:qlv is in Tencent's private format and currently not supported!"},
      {media + "/gone.mp4", "Information:The file does not exist!"},
      {make_clip(media, "widest.mp4", clip_of(4500, 64, 0.5)), "settings:widest_output.mp4"},
      {media + "/upper.QLV", "settings:upper_output.mp4"},  // judged by its content
      {clip, "settings:clip_output.mp4"}};
  open_window();
  AddFlowAnswers answers;
  for (const auto& [path, expected] : cases) {
    answers.seen.clear();
    EXPECT_EQ(window->add_video_file(QString::fromStdString(path)), expected.startsWith("settings:")) << path;
    // A refusal names the file, in the system's separators.
    const QString named = expected.startsWith("settings:")
                              ? expected
                              : expected + "\n" + QDir::toNativeSeparators(QString::fromStdString(path));
    EXPECT_EQ(answers.seen, QStringList{named}) << path;
  }
  ASSERT_EQ(manager->GetAllJobCount(), 3);
  const JobFile* record = manager->GetAllJobs().back()->GetJobFile();
  EXPECT_EQ(record->GetInputFile() + "|" + record->GetOutputFile() + "|" + record->GetQuality() + "|" +
                record->GetOutputCodec() + "|" + record->GetOutputFormat(),
            clip + "|" + output_dir + "/clip_output.mp4|95|h264|.mp4");

  // Once the first output exists, the same input is offered the next free name.
  ASSERT_TRUE(
      wait_until([&] { return QFile::exists(QString::fromStdString(record->GetOutputFile())); }, 120000));
  // The dialog starts from the remembered choice to keep every track, and the job keeps it.
  EXPECT_FALSE(record->GetKeepAllTracks());
  RememberedChoices::rememberKeepAllTracks(true);
  answers.seen.clear();
  EXPECT_TRUE(window->add_video_file(QString::fromStdString(clip)));
  EXPECT_EQ(answers.seen, QStringList{"settings:clip_output_2.mp4"});
  EXPECT_TRUE(manager->GetAllJobs().back()->GetJobFile()->GetKeepAllTracks());
  RememberedChoices::rememberKeepAllTracks(false);
}

// The name the settings dialog proposed may be taken while it is open (kovadle-cli
// naming its own output), or be a link planted there: the job takes the next free
// name, and nothing is written through the link.
TEST_F(WindowTest, TheOutputNameIsReservedAtStartNeverOverAnotherFileOrThroughALink) {
  const std::string clip = make_clip(media, "long.mp4", clip_of(480, 270, 0.5));
  const std::string target = media + "/elsewhere.mp4";
  open_window();
  AddFlowAnswers answers;
  std::vector<std::string> proposed;
  answers.before_start = [&](const std::string& output) {
    if (proposed.empty()) {
      std::ofstream(output) << "another program's output";
    } else {
      QFile::link(QString::fromStdString(target), QString::fromStdString(output));
    }
    proposed.push_back(output);
  };
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(window->add_video_file(QString::fromStdString(clip)));
  ASSERT_EQ(proposed.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    JobV3* job = manager->GetAllJobs()[i];
    EXPECT_NE(job->GetJobFile()->GetOutputFile(), proposed[i]);
    EXPECT_TRUE(wait_until([job] { return job->IsCompleted(); }, 60000))
        << JobStateRules::Name(job->GetState());
  }
  std::ifstream kept(proposed[0]);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "another program's output");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

TEST_F(WindowTest, DroppedFilesAndFoldersGoThroughTheBatchIntoTheChangedOutputFolder) {
  const std::string clip = make_clip(media, "dropped.mp4", clip_of(480, 270, 0.5)),
                    chosen = make_temp_folder("to");
  // Folders are shown, and a chosen one is saved, in the system's own separators.
  const auto native = [](const std::string& folder) {
    return QDir::toNativeSeparators(QString::fromStdString(folder)).toStdString();
  };
  const std::string native_chosen = native(chosen);
  std::ofstream(media + "/notes.txt") << "not a video\n";
  Widget& w = open_window();
  const auto shown_and_saved = [&w] {
    return w.findChild<QLineEdit*>("lineEditOutputDir")->text().toStdString() + "|" +
           UserSettings(UserSettings::instance().path()).get("OutputDir");
  };
  {
    bool accept = false;  // cancelled first, then accepted
    QObject guard;
    handle_modal_dialogs(&guard, [&](QDialog* dialog) {
      auto* folders = qobject_cast<QFileDialog*>(dialog);
      if (folders != nullptr) folders->setDirectory(QString::fromStdString(chosen));
      if (folders != nullptr && accept) dialog->accept();
      return folders != nullptr && accept;
    });
    w.on_btnChangeOutput_clicked();
    EXPECT_EQ(shown_and_saved(), " Output Dir:    " + native(output_dir) + "|" + output_dir);
    accept = true;
    w.on_btnChangeOutput_clicked();
    EXPECT_EQ(shown_and_saved(), " Output Dir:    " + native_chosen + "|" + native_chosen);
  }

  // Several files (here the folder holds one of them again) take the batch's way.
  AddFlowAnswers answers;  // only now: it would end the folder dialog above
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(clip)), QUrl("https://example.com/a.mp4"),
                 QUrl::fromLocalFile(QString::fromStdString(media)),
                 QUrl::fromLocalFile(QString::fromStdString(media + "/notes.txt"))});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_TRUE(wait_until([&] { return answers.seen.size() == 2; }, 120000));
  EXPECT_EQ(answers.seen,
            QStringList({"Information:These files were not added:\n\nnotes.txt: Non video files "
                         "are not supported",
                         "batch of 1"}));
  ASSERT_EQ(manager->GetAllJobCount(), 1);
  EXPECT_EQ(manager->GetAllJobs().back()->GetJobFile()->GetOutputFile(),
            OSUtil::pathJoin(native_chosen, "dropped_output.mp4"));
}

TEST_F(WindowTest, AddedVideoEncodesWithVisibleProgressAndEndsInCompleted) {
  ClipSpec full_hd = clip_of(1920, 1080, 4.0);
  full_hd.fps = 30;
  const std::string clip = make_clip(media, "full_hd.mp4", full_hd);
  open_window();
  // A new job brings its tab to the front, wherever the user was.
  auto* tabs = window->findChild<QTabWidget*>("tabWidget");
  tabs->setCurrentIndex(2);
  AddFlowAnswers answers;
  ASSERT_TRUE(window->add_video_file(QString::fromStdString(clip)));
  EXPECT_EQ(tabs->currentIndex(), 0);
  const std::string jobID = manager->GetAllJobs().back()->GetJobFile()->GetJobID();
  std::set<std::string> seen;
  ASSERT_TRUE(wait_until(
      [&] {
        seen.insert(cells(running(), jobID));
        return JobTable::rowOf(done(), jobID) >= 0;
      },
      600000));
  EXPECT_EQ(cells(done(), jobID), "0:00|100.00%");
  // Beyond the first texts of the row, real figures were shown on the way.
  for (const char* first : {"", "-:-:-|0.00%"}) seen.erase(first);
  EXPECT_FALSE(seen.empty());

  const std::string output = output_dir + "/full_hd_output.mp4";
  EXPECT_EQ(probe_entry(output, "v:0", "codec_name") + "," + probe_entry(output, "a:0", "codec_name") + "," +
                probe_entry(output, "v:0", "width") + "x" + probe_entry(output, "v:0", "height"),
            "h264,aac,1920x1080");

  // Its property shows what it gave beside the estimate.
  const QStringList results = property_results(jobID);
  ASSERT_EQ(results.size(), 5) << results.join('|').toStdString();
  const qint64 size = QFileInfo(QString::fromStdString(output)).size();
  EXPECT_EQ(results[0], QString::fromStdString(OSUtil::FileSizeFriendly(size)));
  // The audio's last packet may lengthen it a little.
  EXPECT_NEAR(results[1].section(' ', 0, 0).toDouble(), 4.0, 0.15) << results[1].toStdString();
  EXPECT_TRUE(results[2].endsWith(" kbit/s")) << results[2].toStdString();
  EXPECT_NEAR(results[2].section(' ', 0, 0).toDouble(), size * 8 / 4.0 / 1000, size * 8 / 4.0 / 1000 * 0.05);
  EXPECT_TRUE(results[3].endsWith(" s") && results[4].endsWith("x")) << results.join('|').toStdString();

  // "Transcode again…": the settings dialog on the same input, a new job; the
  // finished one and its output stay.
  tabs->setCurrentIndex(1);
  answers.seen.clear();
  open_menu(done(), jobID, "Transcode again…");
  ASSERT_TRUE(wait_until([&] { return manager->GetAllJobCount() == 2; }, 60000));
  EXPECT_EQ(answers.seen, QStringList{"settings:full_hd_output_2.mp4"});
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(JobTable::rowOf(done(), jobID), 0);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(output)));
  manager->StopJob(manager->GetAllJobs().back()->GetJobFile()->GetJobID());
}

TEST_F(WindowTest, ASizeChosenInTheDialogIsTheJobsAndTheFinishedRowShowsItBesideTheOutput) {
  const std::string clip = make_clip(media, "sized.mp4", clip_of(960, 540, 3.0));
  const int64_t least =
      SizePlan::For(MediaInfoCache::GetInstance().GetMediaInfo(clip), 1, ".mp4").smallestBytes;
  ASSERT_GT(least, 0);
  const int64_t target = least * 2;
  RememberedChoices::rememberSize(true, target);
  open_window();
  AddFlowAnswers answers;
  ASSERT_TRUE(window->add_video_file(QString::fromStdString(clip)));
  RememberedChoices::rememberSize(false, 0);
  const JobFile* record = manager->GetAllJobs().back()->GetJobFile();
  EXPECT_EQ(record->GetTargetBytes(), target);
  const std::string jobID = record->GetJobID();
  ASSERT_TRUE(wait_until([&] { return JobTable::rowOf(done(), jobID) >= 0; }, 600000));

  const qint64 made = QFileInfo(QString::fromStdString(record->GetOutputFile())).size();
  EXPECT_LE(made, target);
  EXPECT_GE(made, target * 0.8);
  const int row = JobTable::rowOf(done(), jobID);
  EXPECT_EQ(done()->model()->index(row, JobTable::kOutput).data().toString(),
            QString::fromStdString("sized_output.mp4 (MP4, " + SizeText::Decimal(made) + " of " +
                                   SizeText::Decimal(target) + ")"));
  const QStringList results = property_results(jobID);
  ASSERT_EQ(results.size(), 6) << results.join('|').toStdString();
  EXPECT_EQ(results[0] + "|" + results[5],
            QString::fromStdString(SizeText::Decimal(made) + "|" + SizeText::Decimal(target)));
}

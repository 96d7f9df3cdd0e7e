// Adding several videos at once: one probe, one refusal summary, one settings
// dialog, each video with a quality its own ladder offers and an output of its own.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <fstream>

#include "WindowTestSupport.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "probe/MediaInfoCache.h"
#include "support/AwkwardNames.h"
#include "support/QtPrinters.h"
#include "support/TrackFixtures.h"
#include "ui/BatchAddFlow.h"
#include "ui/RememberedChoices.h"
#include "ui/dialogs/BatchSettingsDialog.h"
#include "ui/dialogs/WaitingLoadingFile.h"

TEST_F(WindowTest, ABatchAddsEveryAcceptedVideoOnceWithOneSummaryOfTheRefused) {
  const std::string other = make_temp_folder("other");
  ClipSpec tone = clip_of(640, 480, 0.5);
  tone.video = false;
  std::ofstream(media + "/notes.txt") << "not a video\n";
  const QStringList batch = {
      QString::fromStdString(make_clip(media, "small.mp4", clip_of(640, 480, 0.5))),  // offers 99 to 90 only
      QString::fromStdString(make_clip(media, "tone.m4a", tone)),
      QString::fromStdString(make_clip(media, "same.mp4", clip_of(1280, 720, 0.5))),
      QString::fromStdString(media + "/notes.txt"),
      QString::fromStdString(
          make_clip(other, "same.mp4", clip_of(1280, 720, 0.5)))};  // the same name elsewhere
  // An output folder whose name looks like markup is shown as it is named.
  const QString folder = QString::fromStdString(output_dir + "/" + awkward_names().markup);
  ASSERT_TRUE(QDir().mkpath(folder));
  UserSettings::instance().setOutputDir(folder.toStdString());
  open_window();
  QStringList boxes, notes, headings;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;
    if (auto* settings = qobject_cast<BatchSettingsDialog*>(dialog)) {
      auto* quality = settings->findChild<QComboBox*>("comboBoxQuality");
      quality->setCurrentIndex(quality->findData("85"));
      settings->findChild<QComboBox*>("comboBoxFormat")->setCurrentText(".mkv");
      settings->findChild<QCheckBox*>("checkBoxAllTracks")->setChecked(true);
      notes << settings->findChild<QLabel*>("labelFallbackNote")->text();
      const auto* heading = settings->findChild<QLabel*>("labelBatchHeading");
      headings << as_shown(heading->text(), heading->textFormat());
      settings->findChild<QPushButton*>("btnStartTranscoding")->click();
      return true;
    }
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) boxes << box->windowTitle() + ":" + box->text();
    return false;
  });
  window->add_video_files(batch);
  ASSERT_TRUE(wait_until([&] { return manager->GetAllJobCount() == 3; }, 120000));
  EXPECT_EQ(boxes, QStringList{"Information:These files were not added:\n\ntone.m4a: Not support audio only "
                               "file\nnotes.txt: Non video files are not supported"});
  EXPECT_EQ(notes.size(), 1);
  EXPECT_EQ(headings, QStringList{"Videos: 3    Output folder: " + QDir::toNativeSeparators(folder)});
  EXPECT_TRUE(notes.value(0).contains("85%")) << notes.value(0).toStdString();

  QStringList made;
  for (JobV3* job : manager->GetAllJobs()) {
    const JobFile* record = job->GetJobFile();
    made << QString::fromStdString(OSUtil::getFileName(record->GetInputFile()) + " " + record->GetQuality() +
                                   " " + OSUtil::getFileName(record->GetOutputFile()) +
                                   (record->GetKeepAllTracks() ? "" : " (usual tracks)"));
  }
  EXPECT_EQ(made, QStringList({"small.mp4 90 small_output.mkv", "same.mp4 85 same_output.mkv",
                               "same.mp4 85 same_output_2.mkv"}));
  EXPECT_EQ(rows(running()), 3);

  // The choice is remembered in the settings file; the next single video starts from it.
  const UserSettings stored(UserSettings::instance().path());
  EXPECT_EQ(stored.get("Quality") + stored.get("OutputFormat") + stored.get("KeepAllTracks"), "85.mkvtrue");
  RememberedChoices::rememberKeepAllTracks(false);
  EXPECT_EQ(RememberedChoices::offeredQuality({"99", "95", "90"}, "85"), "90");
  EXPECT_EQ(RememberedChoices::offeredQuality({"70", "80", "99"}, "85"), "80");
}

TEST(BatchAddFlow, AFolderGivesItsOwnVideosOnly) {
  const std::string folder = make_temp_folder("folder");
  QDir(QString::fromStdString(folder)).mkpath("sub");
  for (const char* name : {"b.MP4", "a.mkv", "notes.txt", ".hidden.mp4", "sub/c.mp4"})
    std::ofstream(folder + "/" + name) << "x";
  const QString in = QString::fromStdString(folder);
  const auto at = [&in](const char* name) { return QDir::toNativeSeparators(in + "/" + name); };
  EXPECT_EQ(BatchAddFlow::videosInFolder(in), QStringList({at("a.mkv"), at("b.MP4")}));
  // A folder among files gives its videos, and nothing comes twice.
  EXPECT_EQ(BatchAddFlow::expand({in + "/a.mkv", in, in + "/notes.txt"}),
            QStringList({at("a.mkv"), at("b.MP4"), at("notes.txt")}));
}

TEST(BatchSettingsDialog, NamesTheVideosThatDropTracksAndKeepsEveryTrackOnRequest) {
  const std::string folder = make_temp_folder("batch-tracks");
  const std::string multi = make_multitrack_clip(folder);
  ASSERT_FALSE(multi.empty());
  std::vector<BatchSettingsDialog::Input> inputs;
  for (const char* name : {"a.mkv", "b.mkv", "c.mkv", "d.mkv"}) {
    ASSERT_TRUE(QFile::copy(QString::fromStdString(multi), QString::fromStdString(folder + "/" + name)));
    inputs.push_back({folder + "/" + name, {"95", "99"}});
  }
  inputs.push_back({make_clip(folder, "plain.mp4", clip_of(640, 480, 0.5)), {"95", "99"}});
  RememberedChoices::remember("95", ".mp4");
  RememberedChoices::rememberKeepAllTracks(false);
  BatchSettingsDialog dialog(nullptr, inputs, folder);
  dialog.show();
  QCoreApplication::processEvents();
  auto* tracks = dialog.findChild<QLabel*>("labelTracks");
  auto* total = dialog.findChild<QLabel*>("labelTotalEstimate");
  auto* table = dialog.findChild<QTableWidget*>("tableBatch");
  const QString dropping =
      ": 2 audio tracks: only number 2 is kept; 4 subtitles: dropped in MP4; 1 attachment: dropped";
  EXPECT_EQ(tracks->text(), "Not every track is kept:\na.mkv" + dropping + "\nb.mkv" + dropping + "\nc.mkv" +
                                dropping + "\nand 1 more videos that drop tracks");
  EXPECT_TRUE(table->item(4, 0)->toolTip().endsWith("\n1 audio track: kept"));
  // The lines take room of their own: the table keeps four rows, nothing overlaps.
  EXPECT_GE(tracks->height(), tracks->heightForWidth(tracks->width()));
  EXPECT_LT(tracks->geometry().bottom(), total->geometry().top());
  EXPECT_GE(table->height(), table->minimumHeight());
  EXPECT_LT(table->geometry().bottom(), dialog.findChild<QComboBox*>("comboBoxQuality")->geometry().top());

  const QString usualTotal = total->text();
  dialog.findChild<QCheckBox*>("checkBoxAllTracks")->setChecked(true);
  EXPECT_NE(total->text(), usualTotal);  // every audio track counts
  EXPECT_TRUE(
      tracks->text().startsWith("Not every track is kept:\na.mkv: 2 audio tracks: all kept; 4 subtitles: "
                                "2 kept, 2 dropped in MP4; 1 attachment: dropped\n"))
      << tracks->text().toStdString();
  EXPECT_TRUE(dialog.keepAllTracks());
  dialog.findChild<QComboBox*>("comboBoxFormat")->setCurrentText(".flv");
  EXPECT_EQ(total->text(), usualTotal);  // FLV keeps one audio track

  BatchSettingsDialog plain(nullptr, {inputs.back()}, folder);
  EXPECT_EQ(plain.findChild<QLabel*>("labelTracks")->text(), "Every video keeps all its tracks.");
}

TEST(BatchSettingsDialog, ASizeShowsWhatEachVideoGetsAndStartsNothingOneCannotBeMadeIn) {
  const std::string folder = make_temp_folder("batch-size");
  const std::vector<BatchSettingsDialog::Input> inputs = {
      {make_clip(folder, "short.mp4", clip_of(640, 480, 1.0)), {"99", "95", "90"}},
      {make_clip(folder, "long.mp4", clip_of(1280, 720, 4.0)), {"99", "95", "90", "85"}}};
  const int64_t longest =
      SizePlan::For(MediaInfoCache::GetInstance().GetMediaInfo(inputs[1].path), 1, ".mp4").smallestBytes;
  ASSERT_GT(longest, 0);
  RememberedChoices::rememberSize(false, 0);
  BatchSettingsDialog dialog(nullptr, inputs, folder);
  dialog.show();
  dialog.findChild<QRadioButton*>("radioSize")->click();
  auto* size = dialog.findChild<QComboBox*>("comboBoxSize");
  auto* table = dialog.findChild<QTableWidget*>("tableBatch");
  auto* note = dialog.findChild<QLabel*>("labelFallbackNote");
  auto* start = dialog.findChild<QPushButton*>("btnStartTranscoding");

  // Enough for the short video only: the long one says what it needs, nothing starts.
  size->setEditText(QString::fromStdString(SizeText::Megabytes(longest - 10000)));
  EXPECT_EQ(table->item(1, 3)->text(),
            "at least " + QString::fromStdString(SizeText::Megabytes(longest)) + " MB");
  EXPECT_EQ(table->item(1, 2)->text(), "-");
  EXPECT_NE(table->item(0, 2)->text(), "-");
  // The short one is smaller already: it keeps its best quality.
  EXPECT_EQ(note->text(),
            "Videos that cannot be made this small: 1. Each needs at least the size shown.\n"
            "* These videos already fit: they are made at quality 99 %.");
  EXPECT_FALSE(start->isEnabled());
  EXPECT_EQ(dialog.targetBytes(), longest - 10000);

  size->setEditText(QString::fromStdString(SizeText::Megabytes(longest)));
  EXPECT_TRUE(start->isEnabled());
  EXPECT_FALSE(note->text().contains("cannot"));
  // Plenty: both already fit, and are made at their best quality.
  size->setEditText("500");
  EXPECT_EQ(table->item(0, 2)->text() + " " + table->item(1, 2)->text(), "99% * 99% *");
  EXPECT_EQ(note->text(), "* These videos already fit: they are made at quality 99 %.");

  // Back to the quality: its rows, and no size.
  dialog.findChild<QRadioButton*>("radioQuality")->click();
  EXPECT_EQ(dialog.targetBytes(), 0);
  EXPECT_TRUE(start->isEnabled());
  EXPECT_EQ(table->item(1, 3)->foreground().color(), table->palette().text().color());
}

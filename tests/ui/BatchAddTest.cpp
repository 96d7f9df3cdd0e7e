// Adding several videos at once: one probe, one refusal summary, one settings
// dialog, each video with a quality its own ladder offers and an output of its own.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <fstream>

#include "WindowTestSupport.h"
#include "support/QtPrinters.h"
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
  open_window();
  QStringList boxes, notes;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;
    if (auto* settings = qobject_cast<BatchSettingsDialog*>(dialog)) {
      auto* quality = settings->findChild<QComboBox*>("comboBoxQuality");
      quality->setCurrentIndex(quality->findData("85"));
      settings->findChild<QComboBox*>("comboBoxFormat")->setCurrentText(".mkv");
      notes << settings->findChild<QLabel*>("labelFallbackNote")->text();
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
  EXPECT_TRUE(notes.value(0).contains("85%")) << notes.value(0).toStdString();

  QStringList made;
  for (JobV3* job : manager->GetAllJobs()) {
    const JobFile* record = job->GetJobFile();
    made << QString::fromStdString(OSUtil::getFileName(record->GetInputFile()) + " " + record->GetQuality() +
                                   " " + OSUtil::getFileName(record->GetOutputFile()));
  }
  EXPECT_EQ(made, QStringList({"small.mp4 90 small_output.mkv", "same.mp4 85 same_output.mkv",
                               "same.mp4 85 same_output_2.mkv"}));
  EXPECT_EQ(rows(running()), 3);

  // The choice is remembered in the settings file; the next single video starts from it.
  const UserSettings stored(UserSettings::instance().path());
  EXPECT_EQ(stored.get("Quality") + stored.get("OutputFormat"), "85.mkv");
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

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "environment/UserSettings.h"
#include "jobs/JobEngine.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "support/TrackFixtures.h"
#include "text/QtText.h"
#include "ui/RememberedChoices.h"
#include "ui/dialogs/SettingWindow1File.h"

namespace {

// A 640x480 and a 1920x1080 clip shared by the tests here, made on first use.
struct Clips {
  std::string folder = make_temp_folder("settings");
  std::string small = make_clip(folder, "small.mp4", ClipSpec{});
  std::string full_hd = [this] {
    ClipSpec spec;
    spec.width = 1920;
    spec.height = 1080;
    spec.extra_args = "-b:v\n4M\n-b:a\n160k";  // above the rows, so the rows decide
    return make_clip(folder, "movie.mp4", spec);
  }();
};

const Clips& clips() {
  static const Clips made;
  return made;
}

template <typename T = QLabel>
T* child(const QWidget& dialog, const char* name) {
  T* found = dialog.findChild<T*>(name);
  if (found == nullptr) ADD_FAILURE() << name;
  return found;
}

template <typename T = QLabel>
QString text_of(const QWidget& dialog, const char* name) {
  return child<T>(dialog, name)->text();
}

// Runs the dialog modally and acts once its loop is up; false when a guard had to end it.
bool run_modal(SettingWindow1File& dialog, std::function<void()> act) {
  bool timed_out = false;
  QTimer::singleShot(0, &dialog, act);
  // Goes with this call, not with the dialog: it writes into this call's frame.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
    timed_out = true;
    dialog.done(QDialog::Rejected);
  });
  guard.start(60000);
  dialog.exec();
  return !timed_out;
}

}  // namespace

TEST(SettingWindow1File, OffersTheLadderBestFirstInItsOwnFontsAndNothingForANonVideo) {
  ASSERT_FALSE(clips().small.empty());
  // The program's style sheet gives every widget a font; the dialog's own must still show.
  qApp->setStyleSheet("QWidget { font: 10pt \"Microsoft YaHei\"; }");
  SettingWindow1File dialog(nullptr, clips().small, clips().folder + "/small_output.mp4", false, nullptr);
  dialog.show();
  auto* quality = child<QComboBox>(dialog, "comboBoxQuality");
  EXPECT_EQ(quality->font().pointSize(), 18);
  EXPECT_TRUE(quality->font().bold());
  qApp->setStyleSheet(QString());

  ASSERT_EQ(quality->count(), 10);
  EXPECT_EQ(quality->itemText(0) + " " + quality->currentText() + " " + quality->itemText(9),
            "99% 95%(recommended) 90%");
  EXPECT_EQ(quality->currentIndex(), 4);
  EXPECT_EQ(dialog.GetQuality(), "95");

  // Nothing to offer (not a video): no way to start a job without a quality.
  SettingWindow1File nothing(nullptr, clips().folder + "/missing.mp4", "", false, nullptr);
  EXPECT_EQ(child<QComboBox>(nothing, "comboBoxQuality")->count(), 0);
  EXPECT_FALSE(child<QPushButton>(nothing, "btnStartTranscoding")->isEnabled());
}

TEST(SettingWindow1File, ChoicesUpdateEstimateAndOutputAndOnlyStartClearsTheCancelFlag) {
  ASSERT_FALSE(clips().full_hd.empty());
  const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(clips().full_hd);
  ASSERT_GT(info.videoBitrate.AsInt(), 1600000);
  ASSERT_GT(info.audioBitrate.AsInt(), 64000);
  const std::string proposed = OSUtil::getOutputFilePath(clips().folder, "movie.mp4");
  SettingWindow1File dialog(nullptr, clips().full_hd, proposed, false, nullptr);
  EXPECT_EQ(text_of(dialog, "labelOutputResolution"), "1920x1080");

  child<QComboBox>(dialog, "comboBoxQuality")->setCurrentText("85%");
  EXPECT_EQ(text_of(dialog, "labelOutputResolution"), "1280x720");
  const auto expected = static_cast<int64_t>((1600000 + 64000) * info.overallDuration.AsDouble() / 8);
  EXPECT_EQ(text_of(dialog, "labelOutputFilesize"), to_qstring(OSUtil::FileSizeFriendly(expected)));

  // The first free "_output" name with the new extension, in the same folder.
  auto* format = child<QComboBox>(dialog, "comboBoxFormat");
  const QString taken = to_qstring(clips().folder + "/movie_output.mkv");
  ASSERT_TRUE(QFile(taken).open(QIODevice::WriteOnly));
  format->setCurrentText(".mkv");
  EXPECT_EQ(dialog.GetOutputFile(), clips().folder + "/movie_output_2.mkv");
  format->setCurrentText(".mp4");
  EXPECT_EQ(dialog.GetOutputFile(), proposed);
  QFile::remove(taken);

  EXPECT_TRUE(run_modal(dialog, [&] { child<QPushButton>(dialog, "btnStartTranscoding")->click(); }));
  EXPECT_EQ(dialog.GetQuality(), "85");
  EXPECT_FALSE(dialog.IsCancel());

  // Every other ending leaves the cancel flag set.
  for (const auto& end : std::vector<std::function<void(SettingWindow1File&)>>{
           [](auto& d) { child<QPushButton>(d, "btnCancel")->click(); }, [](auto& d) { d.close(); },
           [](auto& d) { QTest::keyClick(&d, Qt::Key_Escape); }}) {
    SettingWindow1File other(nullptr, clips().full_hd, proposed, false, nullptr);
    EXPECT_TRUE(run_modal(other, [&other, &end] { end(other); }));
    EXPECT_TRUE(other.IsCancel());
  }
}

TEST(SettingWindow1File, ViewModeShowsAStoredJobAndAllowsNoChange) {
  ASSERT_FALSE(clips().full_hd.empty());
  auto* record = new JobFile;
  const std::string output = clips().folder + "/movie_output.mkv";
  record->Init(clips().full_hd, output, "85", "h264", ".mkv");
  ASSERT_NE(JobManager::GetInstance().AddJob(record), nullptr);
  JobEngine engine;
  std::optional<JobView> job = engine.View(record->GetJobID());
  ASSERT_TRUE(job);

  SettingWindow1File dialog(nullptr, clips().full_hd, "", true, &*job);
  auto* quality = child<QComboBox>(dialog, "comboBoxQuality");
  auto* format = child<QComboBox>(dialog, "comboBoxFormat");
  EXPECT_EQ(quality->currentText() + " " + format->currentText(), "85% .mkv");
  EXPECT_FALSE(quality->isEnabled() || format->isEnabled());
  EXPECT_EQ(text_of<QLineEdit>(dialog, "lineEditOutput"), "Output File: " + to_qstring(output));
  EXPECT_TRUE(run_modal(dialog, [&] { child<QPushButton>(dialog, "btnStartTranscoding")->click(); }));

  // A failed job's reason, wrapped over lines, takes room of its own: no row is squeezed.
  record->SetOutcome("failed", {"The output is shorter than the input (12.1 s / 40.0 s): Packet corrupt "
                                "(stream = 0, dts = 184320) while reading the input at byte 11304831"});
  job = engine.View(record->GetJobID());
  SettingWindow1File failed(nullptr, clips().full_hd, "", true, &*job);
  failed.show();
  QCoreApplication::processEvents();
  int labels = 0;
  for (const QLabel* label : failed.findChildren<QLabel*>()) {
    if (!label->isVisible()) continue;
    ++labels;
    const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    EXPECT_GE(label->height(), needed) << label->text().toStdString();
  }
  EXPECT_GE(labels, 10);

  // A job that is gone meanwhile shows empty settings instead of crashing.
  SettingWindow1File gone(nullptr, clips().full_hd, "", true, nullptr);
  EXPECT_EQ(text_of<QLineEdit>(gone, "lineEditOutput"), "Output File: ");
}

TEST(SettingWindow1File, StartsFromTheLastChoiceAndShowsATurnedVideoAsItIsSeen) {
  ASSERT_FALSE(clips().small.empty());
  ClipSpec phone;
  phone.width = 1280;
  phone.height = 720;
  phone.rotate = 90;  // a phone's portrait video: stored landscape, shown upright
  const std::string portrait = make_clip(clips().folder, "portrait.mp4", phone);
  RememberedChoices::remember("85", ".mkv");

  // The small input offers 99% to 90% only: it starts from the nearest it offers, in the remembered format.
  SettingWindow1File small(nullptr, clips().small, clips().folder + "/small_output.mp4", false, nullptr);
  auto* quality = child<QComboBox>(small, "comboBoxQuality");
  EXPECT_EQ(quality->currentText() + " " + child<QComboBox>(small, "comboBoxFormat")->currentText(),
            "90% .mkv");
  EXPECT_EQ(small.GetOutputFile(), clips().folder + "/small_output.mkv");
  EXPECT_GE(quality->maxVisibleItems(), quality->count());  // the whole ladder, no ten-row cut

  SettingWindow1File dialog(nullptr, portrait, clips().folder + "/portrait_output.mp4", false, nullptr);
  EXPECT_EQ(text_of(dialog, "labelInputResolution"), "720x1280");
  const QString output = text_of(dialog, "labelOutputResolution");
  EXPECT_LT(output.section('x', 0, 0).toInt(), output.section('x', 1, 1).toInt()) << output.toStdString();
  // The output is planned again for the chosen container.
  child<QLabel>(dialog, "labelOutputFilesize")->clear();
  child<QComboBox>(dialog, "comboBoxFormat")->setCurrentText(".mp4");
  EXPECT_EQ(text_of(dialog, "labelOutputResolution"), output);
  EXPECT_FALSE(text_of(dialog, "labelOutputFilesize").isEmpty());
  RememberedChoices::remember("95", ".mp4");
}

TEST(SettingWindow1File, SaysWhatTheOutputKeepsAndKeepsEveryTrackOnRequest) {
  const std::string input = make_multitrack_clip(clips().folder);
  ASSERT_FALSE(input.empty());
  RememberedChoices::remember("95", ".mp4");
  RememberedChoices::rememberKeepAllTracks(false);
  SettingWindow1File dialog(nullptr, input, clips().folder + "/tracks_output.mp4", false, nullptr);
  dialog.show();
  auto* all = child<QCheckBox>(dialog, "checkBoxAllTracks");
  auto* format = child<QComboBox>(dialog, "comboBoxFormat");
  EXPECT_FALSE(all->isChecked());
  const auto lines = [&dialog] { return text_of(dialog, "labelTracks").split('\n'); };
  // The encoder's own pick is the stereo track, the second.
  EXPECT_EQ(lines(), QStringList({"2 audio tracks: only number 2 is kept", "4 subtitles: dropped in MP4",
                                  "1 attachment: dropped"}));
  const QString usualSize = text_of(dialog, "labelOutputFilesize");

  all->setChecked(true);
  EXPECT_EQ(lines(), QStringList({"2 audio tracks: all kept", "4 subtitles: 2 kept, 2 dropped in MP4",
                                  "1 attachment: dropped"}));
  const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(input);
  const FFmpegCmdGenerator::OutputPlan plan = FFmpegCmdGenerator::PlanOutput(info, "95");
  EXPECT_EQ(text_of(dialog, "labelOutputFilesize"),
            to_qstring(OSUtil::FileSizeFriendly(FFmpegCmdGenerator::EstimatedOutputSize(
                plan.params.videoBitrate, plan.params.audioBitrate, info.overallDuration.AsDouble(), 2))));
  EXPECT_NE(text_of(dialog, "labelOutputFilesize"), usualSize);
  format->setCurrentText(".mkv");
  EXPECT_EQ(lines(),
            QStringList({"2 audio tracks: all kept", "4 subtitles: all kept", "1 attachment: dropped"}));
  format->setCurrentText(".avi");
  EXPECT_EQ(lines().last(), "AVI keeps no track languages");
  format->setCurrentText(".flv");
  EXPECT_EQ(lines(), QStringList({"2 audio tracks: only number 2 is kept (FLV holds one)",
                                  "4 subtitles: dropped in FLV", "1 attachment: dropped",
                                  "FLV keeps no track languages or titles"}));

  EXPECT_TRUE(run_modal(dialog, [&] { child<QPushButton>(dialog, "btnStartTranscoding")->click(); }));
  EXPECT_TRUE(dialog.KeepAllTracks());
  EXPECT_EQ(UserSettings(UserSettings::instance().path()).get("KeepAllTracks"), "true");
  SettingWindow1File next(nullptr, clips().small, clips().folder + "/small_output.mp4", false, nullptr);
  EXPECT_TRUE(child<QCheckBox>(next, "checkBoxAllTracks")->isChecked());
  EXPECT_EQ(text_of(next, "labelTracks"), "1 audio track: kept");

  // A job's choice shows in its property, and cannot be changed there.
  auto* record = new JobFile;
  record->Init(input, clips().folder + "/tracks_output.mkv", "95", "h264", ".mkv", true);
  ASSERT_NE(JobManager::GetInstance().AddJob(record), nullptr);
  JobEngine engine;
  const std::optional<JobView> job = engine.View(record->GetJobID());
  ASSERT_TRUE(job);
  SettingWindow1File view(nullptr, input, "", true, &*job);
  EXPECT_TRUE(child<QCheckBox>(view, "checkBoxAllTracks")->isChecked());
  EXPECT_FALSE(child<QCheckBox>(view, "checkBoxAllTracks")->isEnabled());
  EXPECT_EQ(text_of(view, "labelTracks").split('\n').value(1), "4 subtitles: all kept");
  RememberedChoices::rememberKeepAllTracks(false);
}

TEST(SettingWindow1File, ASizeSaysWhatItBuysOffersTheQualityWhenTheInputFitsAndRefusesTooSmall) {
  ASSERT_FALSE(clips().full_hd.empty());
  RememberedChoices::remember("95", ".mp4");
  RememberedChoices::rememberSize(false, 0);
  const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(clips().full_hd);
  SettingWindow1File dialog(nullptr, clips().full_hd, clips().folder + "/sized_output.mp4", false, nullptr);
  dialog.show();
  // The quality is the knob unless a size was confirmed last.
  EXPECT_EQ(dialog.TargetBytes(), 0);
  child<QRadioButton>(dialog, "radioSize")->click();
  EXPECT_FALSE(child<QComboBox>(dialog, "comboBoxQuality")->isVisible());
  EXPECT_EQ(text_of(dialog, "labelSizeUnit"), "(1 MB = 1,000,000 bytes)");
  auto* size = child<QComboBox>(dialog, "comboBoxSize");
  // The usual sizes, beside those other tests confirmed.
  for (const char* usual : {"8", "10", "25", "50", "100", "500"})
    EXPECT_GE(size->findText(usual), 0) << usual;
  auto* start = child<QPushButton>(dialog, "btnStartTranscoding");
  auto* keep = child<QPushButton>(dialog, "btnKeepQuality");
  const auto line = [&dialog] { return text_of(dialog, "labelSizePlan"); };

  // A size a little above the smallest: a smaller frame than the input's, at the rates left for it.
  const SizePlan least = SizePlan::For(info, 1, ".mp4");
  ASSERT_EQ(least.verdict, SizePlan::Verdict::TooSmall);
  const int64_t middle = least.smallestBytes * 3 / 2 / 10000 * 10000;
  size->setEditText(QString::number(middle / 1e6, 'f', 2));
  EXPECT_EQ(dialog.TargetBytes(), middle);
  const QString frame = text_of(dialog, "labelOutputResolution");
  EXPECT_LT(frame.section('x', 0, 0).toInt(), 1920) << frame.toStdString();
  const QRegularExpression buys(
      "^This size buys (\\d+x\\d+) at [\\d.]+ fps, video \\d+ kbit/s, audio \\d+ kbit/s\\.$");
  EXPECT_EQ(buys.match(line()).captured(1), frame) << line().toStdString();
  EXPECT_TRUE(start->isEnabled());
  EXPECT_FALSE(keep->isVisible());

  // Too small: the refusal names the least size, which itself can be started.
  size->setEditText("0.01");
  const QString least_mb = to_qstring(SizeText::Megabytes(least.smallestBytes));
  EXPECT_EQ(line(), "Too small: this video cannot be made smaller than " + least_mb + " MB.");
  EXPECT_FALSE(start->isEnabled());
  EXPECT_TRUE(text_of(dialog, "labelOutputResolution").isEmpty());
  size->setEditText(least_mb);
  EXPECT_TRUE(start->isEnabled()) << line().toStdString();
  // What is typed is the size, not a listed one that begins with it ("1" is not 10).
  QApplication::setActiveWindow(&dialog);
  size->setFocus();
  size->lineEdit()->selectAll();
  QTest::keyClicks(size->lineEdit(), "1");
  EXPECT_EQ(size->currentText(), "1");
  EXPECT_EQ(dialog.TargetBytes(), 1000000);
  // No size typed: nothing to start.
  size->setEditText("");
  EXPECT_EQ(line(), "Type a size in MB.");
  EXPECT_FALSE(start->isEnabled());

  // More than the input: it already fits, and the quality can be kept instead.
  size->setEditText("500");
  EXPECT_EQ(line(), "The input already fits: keep quality 99 %?");
  EXPECT_TRUE(start->isEnabled());
  ASSERT_TRUE(keep->isVisible());
  keep->click();
  EXPECT_EQ(dialog.TargetBytes(), 0);
  EXPECT_EQ(child<QComboBox>(dialog, "comboBoxQuality")->currentText(), "99%");
  EXPECT_FALSE(keep->isVisible() || size->isVisible());

  // A size confirmed is where the next dialog starts, and is offered among the usual ones.
  child<QRadioButton>(dialog, "radioSize")->click();
  size->setEditText("7,5");
  EXPECT_TRUE(run_modal(dialog, [&] { start->click(); }));
  EXPECT_EQ(dialog.TargetBytes(), 7500000);
  SettingWindow1File next(nullptr, clips().full_hd, clips().folder + "/sized_output.mp4", false, nullptr);
  EXPECT_EQ(next.TargetBytes(), 7500000);
  auto* offered = child<QComboBox>(next, "comboBoxSize");
  EXPECT_EQ(offered->itemText(offered->findText("7.5") + 1), "8");  // in order
  RememberedChoices::rememberSize(false, 0);
}

// Adding a folder with its subfolders, and many files at once: POSIX only (hidden
// folders by their dot, a link that loops).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <fstream>

#include "WindowTestSupport.h"
#include "probe/MediaInfoCache.h"
#include "ui/BatchAddFlow.h"
#include "ui/RememberedChoices.h"

TEST_F(WindowTest, AddFolderTakesSubfoldersWhenChosenRemembersItAndNeverLoops) {
  const std::string folder = make_temp_folder("tree");
  const QString in = QString::fromStdString(folder);
  for (const char* sub : {"b/c", ".hidden"}) QDir(in).mkpath(sub);
  for (const char* name : {"b/c/deep.MKV", "b/notes.txt", ".hidden/secret.mp4"})
    std::ofstream(folder + "/" + name) << "x";
  ASSERT_EQ(::symlink(folder.c_str(), (folder + "/b/loop").c_str()), 0);
  make_clip(folder, "top 10.mp4", clip_of(640, 480, 0.5));
  make_clip(folder, "top 9.mp4", clip_of(640, 480, 0.5));
  EXPECT_EQ(BatchAddFlow::videosInFolder(in, true),
            QStringList({in + "/b/c/deep.MKV", in + "/top 10.mp4", in + "/top 9.mp4"}));
  EXPECT_EQ(BatchAddFlow::videosInFolder(in), QStringList({in + "/top 10.mp4", in + "/top 9.mp4"}));

  open_window();
  QStringList seen;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;
    if (auto* chooser = qobject_cast<QFileDialog*>(dialog)) {
      auto* include = chooser->findChild<QCheckBox*>("checkBoxSubfolders");
      if (include == nullptr) return false;
      seen << (include->isChecked() ? "folder [x]" : "folder [ ]");
      if (include->isChecked()) return false;  // the second time: cancelled
      include->setChecked(true);
      chooser->setDirectory(in);
      static_cast<QDialog*>(chooser)->accept();
      return true;
    }
    if (auto* batch = qobject_cast<BatchSettingsDialog*>(dialog)) {
      seen << "batch of " + QString::number(batch->qualities().size());
      batch->findChild<QPushButton*>("btnStartTranscoding")->click();
      return true;
    }
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) seen << box->text().section('\n', 0, 0);
    return false;
  });
  window->on_btnAddFolder_clicked();
  // The deep file is no video: the one summary says so, as for any batch.
  EXPECT_EQ(seen, QStringList({"folder [ ]", "These files were not added:", "batch of 2"}));
  EXPECT_EQ(manager->GetAllJobCount(), 2);
  EXPECT_TRUE(RememberedChoices::includeSubfolders());
  seen.clear();
  window->on_btnAddFolder_clicked();
  EXPECT_EQ(seen, QStringList({"folder [x]"}));
}

// Ten thousand names handed over: each is checked a few at a time behind a count,
// and Cancel ends it at once; names of missing files are refused without a probe.
TEST_F(WindowTest, ManyFilesAreCheckedAFewAtATimeAndCancelStopsAtOnce) {
  const std::string folder = make_temp_folder("many");
  QStringList names, missing;
  for (int i = 0; i < 10000; ++i) {
    const std::string name = folder + "/clip" + std::to_string(i) + ".mp4";
    std::ofstream(name) << "not a video";
    names << QString::fromStdString(name);
    missing << QString::fromStdString(folder + "/gone" + std::to_string(i) + ".mp4");
  }
  open_window();
  QStringList counts, boxes;
  QElapsedTimer sinceCancel;
  QPointer<WaitingLoadingFile> shown;
  QObject guard;
  handle_modal_dialogs(&guard, [&](QDialog* dialog) {
    auto* waiting = qobject_cast<WaitingLoadingFile*>(dialog);
    if (waiting == nullptr) {
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) boxes << box->text();
      return false;
    }
    shown = waiting;
    const QString count = waiting->findChild<QLabel*>("labelCount")->text();
    if (counts.isEmpty() || counts.last() != count) counts << count;
    // Some files probed: cancel in the middle.
    if (!sinceCancel.isValid() && !names.isEmpty() && count != "Checking 1 of 10,000…") {
      sinceCancel.start();
      waiting->findChild<QPushButton*>("btnCancel")->click();
    }
    return true;
  });
  window->add_video_files(names);
  ASSERT_TRUE(
      wait_until([&] { return sinceCancel.isValid() && (shown.isNull() || !shown->isVisible()); }, 120000))
      << counts.join('|').toStdString();
  EXPECT_LT(sinceCancel.elapsed(), 1000) << "Cancel waited for the probes";
  EXPECT_TRUE(counts.first().startsWith("Checking ") && counts.first().endsWith(" of 10,000…"))
      << counts.first().toStdString();
  // Nothing added, nothing said, and no probe started after the few under way.
  const auto probed = [&names] {
    int count = 0;
    for (const QString& name : names) count += MediaInfoCache::GetInstance().Contains(name.toStdString());
    return count;
  };
  const int atCancel = probed();
  QThread::msleep(1500);
  QApplication::processEvents();
  EXPECT_LE(probed(), atCancel + WaitingLoadingFile::kProbesAtOnce);
  EXPECT_LT(probed(), 1000);
  EXPECT_EQ(manager->GetAllJobCount(), 0);
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();

  // Missing files need no probe: all ten thousand are refused in one summary, soon.
  names.clear();
  QElapsedTimer took;
  took.start();
  window->add_video_files(missing);
  ASSERT_TRUE(wait_until([&] { return !boxes.isEmpty(); }, 120000));
  EXPECT_LT(took.elapsed(), 30000);
  EXPECT_TRUE(boxes.first().contains("gone0.mp4: The file does not exist") &&
              boxes.first().endsWith("and 9985 more"))
      << boxes.first().toStdString();
}

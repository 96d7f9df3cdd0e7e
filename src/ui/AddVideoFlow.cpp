#include "ui/AddVideoFlow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <iostream>

#include "environment/UserSettings.h"
#include "jobs/JobCreation.h"
#include "jobs/JobFile.h"
#include "log/LogUtil.h"
#include "planning/InputAcceptance.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"
#include "ui/PlainText.h"
#include "ui/dialogs/SettingWindow1File.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

// Where the file dialog opens: the folder of the last video added, else the
// user's videos folder, not the program's own folder.
QString& last_folder() {
  static QString folder;
  return folder;
}

QString start_folder() {
  if (!last_folder().isEmpty()) return last_folder();
  const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  return QFileInfo(videos).isDir() ? videos : QDir::homePath();
}

}  // namespace

QString AddVideoFlow::askForFile(QWidget* parent) {
  QFileDialog dialog(parent, tr("Open file"), start_folder());
  dialog.setNameFilter(tr("All Video Formats") +
                       "(*.avi *.mp4 *.mkv *.wmv *.ts *.rm *.rmvb *.mpg *.mpeg *.3gp *.3g2 *.asf *.divx "
                       "*.flv *.m2ts *.mov *.m4v *.mtv *.ogg *.rv *.dat *.swf);;" +
                       tr("all files") + " (*.*)");
  dialog.setViewMode(QFileDialog::Detail);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString chosen = dialog.selectedFiles().first();
  last_folder() = QFileInfo(chosen).absolutePath();
  return QDir::toNativeSeparators(chosen);
}

JobFile* AddVideoFlow::prepareJob(QWidget* parent, const std::string& inputPath) {
  std::cout << "inputFile:" << inputPath << std::endl;
  log_info("Widget::on_btnAdd1File_clicked, start loading file:" + inputPath);
  {
    // The probe runs on the pool; the interface keeps painting meanwhile.
    WaitingLoadingFile waiting(nullptr, inputPath);
    waiting.exec();
  }
  const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(inputPath);
  const std::string refusal = InputAcceptance::RefusalOf(inputPath, info);
  if (!refusal.empty()) {
    QMessageBox::information(parent, tr("Information"),
                             QCoreApplication::translate("QObject", refusal.c_str()) + "!", QMessageBox::Ok);
    return nullptr;
  }

  log_info("Widget::on_btnAdd1File_clicked, open setting window.");
  const std::string proposed = OSUtil::getOutputFilePath(get_output_dir(), OSUtil::getFileName(inputPath));
  std::string quality;
  std::string outputFile;
  {
    SettingWindow1File settings(nullptr, inputPath, proposed, false, nullptr);
    settings.exec();
    if (settings.IsCancel()) return nullptr;
    quality = settings.GetQuality();
    outputFile = settings.GetOutputFile();
  }
  log_info("Widget::on_btnAdd1File_clicked, generate job file,quality:" + quality + ",isCancel:false");
  // The name proposed when the dialog opened may have been taken since: the next
  // free one is reserved then.
  const JobCreation::Result created =
      JobCreation::Create(inputPath, outputFile, quality, "h264", OSUtil::getFileExtension(outputFile));
  if (created.record == nullptr) {
    const QString what = created.problem == JobCreation::Problem::Output
                             ? tr("The output file cannot be created")
                             : tr("The job cannot be saved in its folder");
    PlainText::warning(parent, tr("Information"),
                       what + ":\n" + to_qstring(created.path) + "\n" + to_qstring(created.reason));
    return nullptr;
  }
  log_info("Widget::on_btnAdd1File_clicked jobFile generated:" + created.record->GetPath());
  return created.record;
}

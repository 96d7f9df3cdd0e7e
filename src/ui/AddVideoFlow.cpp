#include "ui/AddVideoFlow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <iostream>

#include "environment/UserSettings.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "ui/PlainText.h"
#include "ui/dialogs/SettingWindow1File.h"
#include "ui/dialogs/SizePlanText.h"
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
  dialog.setNameFilter(videoFilter());
  dialog.setViewMode(QFileDialog::Detail);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString chosen = dialog.selectedFiles().first();
  last_folder() = QFileInfo(chosen).absolutePath();
  return QDir::toNativeSeparators(chosen);
}

QString AddVideoFlow::videoFilter() {
  QStringList patterns;
  for (const std::string& pattern : JobEngine::VideoFilePatterns()) patterns << to_qstring(pattern);
  return tr("All Video Formats") + "(" + patterns.join(' ') + ");;" + tr("all files") + " (*.*)";
}

QString AddVideoFlow::refusalText(const PreparedInput& input) {
  // Which file, and why: a missing one is no "non video" file.
  const QString why = input.missing ? tr("The file does not exist")
                                    : QCoreApplication::translate("QObject", input.refusal.c_str());
  return why + "!\n" + QDir::toNativeSeparators(to_qstring(input.path));
}

std::optional<JobView> AddVideoFlow::addJob(QWidget* parent, JobEngine& engine,
                                            const std::string& inputPath) {
  std::cout << "inputFile:" << inputPath << std::endl;
  log_info("Widget::on_btnAdd1File_clicked, start loading file:" + inputPath);
  // The probe runs on the pool; the interface keeps painting meanwhile. Ended
  // otherwise (the program is ending): nothing more.
  if (!WaitingLoadingFile::EnsureProbed(inputPath)) return std::nullopt;
  // The probe has just filled the cache: this does not wait for it again.
  const PreparedInput input = JobEngine::Prepare(inputPath);
  if (!input.Accepted()) {
    QMessageBox box(QMessageBox::Information, tr("Information"), refusalText(input), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return std::nullopt;
  }

  log_info("Widget::on_btnAdd1File_clicked, open setting window.");
  const std::string proposed = JobEngine::ProposedOutput(inputPath, get_output_dir(), ".mp4");
  JobPlan plan;
  {
    SettingWindow1File settings(nullptr, inputPath, proposed, false, nullptr);
    settings.exec();
    if (settings.IsCancel()) return std::nullopt;
    plan.quality = settings.GetQuality();
    plan.outputFormat = OSUtil::getFileExtension(settings.GetOutputFile());
    plan.outputFolder = OSUtil::getFileDir(settings.GetOutputFile());
    plan.keepAllTracks = settings.KeepAllTracks();
    plan.targetBytes = settings.TargetBytes();
  }
  log_info("Widget::on_btnAdd1File_clicked, generate job file,quality:" + plan.quality + ",isCancel:false");
  // The name proposed when the dialog opened may have been taken since: the job
  // takes the next free one then.
  const JobEngine::Added added = engine.Add(input, plan);
  if (added.problem == JobEngine::Added::Problem::Size) {
    // The dialog let it through, but the file may have changed since it was probed.
    PlainText::warning(parent, tr("Information"), SizePlanText::TooSmallFor(added.smallestBytes));
    return std::nullopt;
  }
  if (!added.Ok()) {
    const QString what = added.problem == JobEngine::Added::Problem::Output
                             ? tr("The output file cannot be created")
                             : tr("The job cannot be saved in its folder");
    PlainText::warning(parent, tr("Information"),
                       what + ":\n" + to_qstring(added.path) + "\n" + to_qstring(added.reason));
    return std::nullopt;
  }
  log_info("Widget::on_btnAdd1File_clicked jobFile generated:" + added.job.jobFilePath);
  return added.job;
}

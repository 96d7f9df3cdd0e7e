#include "ui/BatchAddFlow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include "jobs/JobCreation.h"
#include "jobs/JobFile.h"
#include "log/LogUtil.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/InputAcceptance.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"
#include "ui/PlainText.h"
#include "ui/dialogs/BatchSettingsDialog.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

// The extensions the file dialog offers as videos.
const QStringList& videoPatterns() {
  static const QStringList patterns = {
      "*.avi", "*.mp4",  "*.mkv", "*.wmv",  "*.ts",  "*.rm",  "*.rmvb", "*.mpg", "*.mpeg", "*.3gp", "*.3g2",
      "*.asf", "*.divx", "*.flv", "*.m2ts", "*.mov", "*.m4v", "*.mtv",  "*.ogg", "*.rv",   "*.dat", "*.swf"};
  return patterns;
}

QString start_folder() {
  const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  return QFileInfo(videos).isDir() ? videos : QDir::homePath();
}

// A summary lists this many files; the rest are counted.
const int kListedRefusals = 15;

}  // namespace

QStringList BatchAddFlow::askForFiles(QWidget* parent) {
  QFileDialog dialog(parent, tr("Open files"), start_folder());
  dialog.setNameFilter(tr("All Video Formats") + "(" + videoPatterns().join(' ') + ");;" + tr("all files") +
                       " (*.*)");
  dialog.setViewMode(QFileDialog::Detail);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  if (dialog.exec() != QDialog::Accepted) return {};
  QStringList chosen;
  for (const QString& file : dialog.selectedFiles()) chosen << QDir::toNativeSeparators(file);
  return chosen;
}

QString BatchAddFlow::askForFolder(QWidget* parent) {
  QFileDialog dialog(parent, tr("Add the videos of a folder"), start_folder());
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

QStringList BatchAddFlow::videosInFolder(const QString& folder) {
  QStringList videos;
  // Name filters ignore case, so "CLIP.MP4" counts too.
  const QFileInfoList found = QDir(folder).entryInfoList(videoPatterns(), QDir::Files | QDir::Readable,
                                                         QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& file : found) videos << QDir::toNativeSeparators(file.absoluteFilePath());
  return videos;
}

QStringList BatchAddFlow::droppedPaths(const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) continue;
    // Folders give their videos; anything else goes on, to be refused with its reason
    // if it is no video (a pipe, a name Qt cannot read).
    paths << QDir::toNativeSeparators(QFileInfo(url.toLocalFile()).absoluteFilePath());
  }
  return paths;
}

QStringList BatchAddFlow::expand(const QStringList& paths) {
  QStringList files;
  QSet<QString> seen;
  for (const QString& path : paths) {
    const QStringList these =
        QFileInfo(path).isDir() ? videosInFolder(path) : QStringList{QDir::toNativeSeparators(path)};
    for (const QString& file : these) {
      const QString key = QFileInfo(file).absoluteFilePath();
      if (seen.contains(key)) continue;
      seen.insert(key);
      files << file;
    }
  }
  return files;
}

QString BatchAddFlow::summaryOf(const std::vector<Refusal>& refusals) {
  if (refusals.empty()) return QString();
  QString text = tr("These files were not added:") + "\n";
  for (size_t i = 0; i < refusals.size() && i < size_t(kListedRefusals); ++i)
    text += "\n" + QFileInfo(refusals[i].path).fileName() + ": " + refusals[i].reason;
  if (refusals.size() > size_t(kListedRefusals))
    text += "\n" + tr("and %1 more").arg(refusals.size() - size_t(kListedRefusals));
  return text;
}

std::vector<JobFile*> BatchAddFlow::prepareJobs(QWidget* parent, const QStringList& inputs,
                                                const std::string& outputDir) {
  std::vector<std::string> paths;
  for (const QString& input : inputs) paths.push_back(to_utf8(input));
  log_info("BatchAddFlow::prepareJobs, probing " + std::to_string(paths.size()) + " file(s).");
  {
    WaitingLoadingFile waiting(nullptr, paths);
    waiting.exec();
  }

  std::vector<BatchSettingsDialog::Input> accepted;
  std::vector<Refusal> refused;
  for (const std::string& path : paths) {
    QString reason;
    if (OSUtil::getFileKind(path) == OSUtil::FileKind::Missing) {
      reason = tr("The file does not exist");
    } else {
      const std::string refusal =
          InputAcceptance::RefusalOf(path, MediaInfoCache::GetInstance().GetMediaInfo(path));
      if (!refusal.empty()) reason = QCoreApplication::translate("QObject", refusal.c_str());
    }
    std::vector<std::string> ladder;
    if (reason.isEmpty()) {
      ladder = FFmpegCmdGenerator::GetQualitys(path);
      if (ladder.empty())
        reason = QCoreApplication::translate("QObject", "Non video files are not supported");
    }
    if (reason.isEmpty()) {
      accepted.push_back({path, ladder});
    } else {
      log_info("BatchAddFlow::prepareJobs, refused:" + path + ",reason:" + to_utf8(reason));
      refused.push_back({to_qstring(path), reason});
    }
  }
  if (!refused.empty()) PlainText::information(parent, tr("Information"), summaryOf(refused));
  if (accepted.empty()) return {};

  BatchSettingsDialog settings(nullptr, accepted, outputDir);
  settings.exec();
  if (settings.IsCancel()) return {};
  const std::vector<std::string> qualities = settings.qualities();
  const std::string format = settings.chosenFormat();

  std::vector<JobFile*> jobs;
  std::vector<Refusal> unsaved;
  for (size_t i = 0; i < accepted.size(); ++i) {
    const std::string& input = accepted[i].path;
    // Each name is reserved as its job is made, so the next video of the batch (or
    // another program) is given the next one.
    const JobCreation::Result created =
        JobCreation::Create(input, OSUtil::getUniqueOutputPath(outputDir, OSUtil::getFileName(input), format),
                            qualities[i], "h264", format);
    if (created.record == nullptr) {
      unsaved.push_back({to_qstring(input), to_qstring(created.path + ": " + created.reason)});
      continue;
    }
    log_info("BatchAddFlow::prepareJobs, jobFile generated:" + created.record->GetPath() +
             ",quality:" + qualities[i]);
    jobs.push_back(created.record);
  }
  if (!unsaved.empty()) PlainText::warning(parent, tr("Information"), summaryOf(unsaved));
  return jobs;
}

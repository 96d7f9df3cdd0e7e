#include "ui/BatchAddFlow.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "ui/AddVideoFlow.h"
#include "ui/PlainText.h"
#include "ui/RememberedChoices.h"
#include "ui/dialogs/BatchSettingsDialog.h"
#include "ui/dialogs/SizePlanText.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

// The names the file dialogs offer, and a folder gives, as videos.
QStringList videoPatterns() {
  QStringList patterns;
  for (const std::string& pattern : JobEngine::VideoFilePatterns()) patterns << to_qstring(pattern);
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
  dialog.setNameFilter(AddVideoFlow::videoFilter());
  dialog.setViewMode(QFileDialog::Detail);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  if (dialog.exec() != QDialog::Accepted) return {};
  QStringList chosen;
  for (const QString& file : dialog.selectedFiles()) chosen << QDir::toNativeSeparators(file);
  return chosen;
}

QString BatchAddFlow::askForFolder(QWidget* parent, bool* subfolders) {
  QFileDialog dialog(parent, tr("Add the videos of a folder"), start_folder());
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  // The dialog's own form takes the choice; a desktop's dialog has no room for it.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto* include = new QCheckBox(tr("Include subfolders"), &dialog);
  include->setObjectName("checkBoxSubfolders");
  include->setChecked(RememberedChoices::includeSubfolders());
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(include, grid->rowCount(), 0, 1, grid->columnCount());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  RememberedChoices::rememberSubfolders(include->isChecked());
  *subfolders = include->isChecked();
  return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

QStringList BatchAddFlow::videosInFolder(const QString& folder, bool subfolders) {
  QStringList videos;
  // Name filters ignore case, so "CLIP.MP4" counts too.
  if (!subfolders) {
    const QFileInfoList found = QDir(folder).entryInfoList(videoPatterns(), QDir::Files | QDir::Readable,
                                                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : found) videos << QDir::toNativeSeparators(file.absoluteFilePath());
    return videos;
  }
  // Without Hidden the walk skips hidden folders; without FollowSymlinks it never
  // enters a linked folder, so a link to a parent cannot make it go round.
  QDirIterator walk(folder, videoPatterns(), QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
  while (walk.hasNext()) videos << QDir::toNativeSeparators(QFileInfo(walk.next()).absoluteFilePath());
  std::sort(videos.begin(), videos.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
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

int BatchAddFlow::addJobs(QWidget* parent, JobEngine& engine, const QStringList& inputs,
                          const std::string& outputDir, const std::function<void(const JobView&)>& added) {
  std::vector<std::string> paths;
  for (const QString& input : inputs) paths.push_back(to_utf8(input));
  log_info("BatchAddFlow::prepareJobs, probing " + std::to_string(paths.size()) + " file(s).");
  std::vector<PreparedInput> judged;
  {
    WaitingLoadingFile waiting(nullptr, paths);
    waiting.exec();
    // Cancelled, or the program is ending: nothing is added, nothing more probed.
    if (waiting.IsCancelled() || !waiting.IsProbeDone()) {
      log_info("BatchAddFlow::prepareJobs, cancelled.");
      return 0;
    }
    judged = waiting.Prepared();
  }

  std::vector<PreparedInput> prepared;
  std::vector<BatchSettingsDialog::Input> accepted;
  std::vector<Refusal> refused;
  for (PreparedInput& input : judged) {
    const std::string path = input.path;
    if (input.Accepted()) {
      accepted.push_back({path, {input.qualities.rbegin(), input.qualities.rend()}});
      prepared.push_back(std::move(input));
      continue;
    }
    const QString reason = input.missing ? tr("The file does not exist")
                                         : QCoreApplication::translate("QObject", input.refusal.c_str());
    log_info("BatchAddFlow::prepareJobs, refused:" + path + ",reason:" + to_utf8(reason));
    refused.push_back({to_qstring(path), reason});
  }
  if (!refused.empty()) PlainText::information(parent, tr("Information"), summaryOf(refused));
  if (accepted.empty()) return 0;

  BatchSettingsDialog settings(nullptr, accepted, outputDir);
  settings.exec();
  if (settings.IsCancel()) return 0;
  const std::vector<std::string> qualities = settings.qualities();
  JobPlan plan;
  plan.outputFormat = settings.chosenFormat();
  plan.outputFolder = outputDir;
  plan.keepAllTracks = settings.keepAllTracks();
  plan.targetBytes = settings.targetBytes();

  int count = 0;
  std::vector<Refusal> unsaved;
  for (size_t i = 0; i < prepared.size(); ++i) {
    // Each name is reserved as its job is made, so the next video of the batch (or
    // another program) is given the next one.
    plan.quality = qualities[i];
    const JobEngine::Added job = engine.Add(prepared[i], plan);
    if (job.problem == JobEngine::Added::Problem::Size) {
      // The dialog let none through, but the file may have changed since it was probed.
      unsaved.push_back({to_qstring(prepared[i].path), SizePlanText::TooSmallFor(job.smallestBytes)});
      continue;
    }
    if (!job.Ok()) {
      unsaved.push_back({to_qstring(prepared[i].path), to_qstring(job.path + ": " + job.reason)});
      continue;
    }
    log_info("BatchAddFlow::prepareJobs, jobFile generated:" + job.job.jobFilePath +
             ",quality:" + qualities[i]);
    ++count;
    added(job.job);
  }
  if (!unsaved.empty()) PlainText::warning(parent, tr("Information"), summaryOf(unsaved));
  return count;
}

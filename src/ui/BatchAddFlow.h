#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class JobFile;
class QMimeData;
class QWidget;

// Adding several videos at once (several files picked, a folder, a drop, files
// handed over from a later start): one probe behind one animation, one summary of
// the refused files with each one's reason, one settings dialog for the rest.
class BatchAddFlow {
  Q_DECLARE_TR_FUNCTIONS(BatchAddFlow)

 public:
  struct Refusal {
    QString path;
    QString reason;
  };

  // The file dialog taking several files; empty when cancelled.
  static QStringList askForFiles(QWidget* parent);
  // The folder dialog; "" when cancelled.
  static QString askForFolder(QWidget* parent);

  // The video files (by their extension) directly in the folder, not in its
  // subfolders, by name; hidden files are left out.
  static QStringList videosInFolder(const QString& folder);
  // The local files and folders among dropped URLs, in their order, native separators.
  static QStringList droppedPaths(const QMimeData* mime);
  // The paths with each folder replaced by its videos, each file once, in order.
  static QStringList expand(const QStringList& paths);

  // Probes the inputs, shows the refused ones in one summary (owned by parent),
  // asks once for quality and format, and writes a job file for each video left,
  // into outputDir with names unique also among themselves. The caller owns the
  // records; none when everything was refused or the dialog was cancelled.
  static std::vector<JobFile*> prepareJobs(QWidget* parent, const QStringList& inputs,
                                           const std::string& outputDir);

  // The summary text of the refused files ("" for none).
  static QString summaryOf(const std::vector<Refusal>& refusals);
};

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "jobs/JobEngine.h"

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
  // The folder dialog, with the remembered choice to take the subfolders' videos
  // too (set in subfolders); "" when cancelled.
  static QString askForFolder(QWidget* parent, bool* subfolders);

  // The video files (by their extension) directly in the folder, by name, or with
  // subfolders those in every folder below it too, by path. Hidden files and
  // folders are left out, and linked folders are not followed (no loops).
  static QStringList videosInFolder(const QString& folder, bool subfolders = false);
  // The local files and folders among dropped URLs, in their order, native separators.
  static QStringList droppedPaths(const QMimeData* mime);
  // The paths with each folder replaced by its videos, each file once, in order.
  static QStringList expand(const QStringList& paths);

  // Probes the inputs, shows the refused ones in one summary (owned by parent),
  // asks once for quality and format, and adds a job for each video left to the
  // engine, into outputDir with names unique also among themselves. added runs for
  // each new job as soon as it is made; returns how many there are (none when
  // everything was refused or the dialog was cancelled).
  static int addJobs(QWidget* parent, JobEngine& engine, const QStringList& inputs,
                     const std::string& outputDir, const std::function<void(const JobView&)>& added);

  // The summary text of the refused files ("" for none).
  static QString summaryOf(const std::vector<Refusal>& refusals);
};

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <string>

class JobFile;
class QWidget;

// The road of one new video up to its job file: the file dialog, the probe behind
// the waiting dialog, the refusals, the proposed output name and the settings
// dialog. The button and a single dropped file go this way.
class AddVideoFlow {
  Q_DECLARE_TR_FUNCTIONS(AddVideoFlow)

 public:
  // The file dialog: one existing file, native separators; "" when cancelled.
  static QString askForFile(QWidget* parent);
  // Probes the input, refuses what cannot be transcoded (with its message, owned by
  // parent), lets the user choose in the settings dialog and writes the new job
  // file. The caller owns the record; null when refused or cancelled.
  static JobFile* prepareJob(QWidget* parent, const std::string& inputPath);
};

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "jobs/JobEngine.h"

class QWidget;

// The road of one new video up to its job: the file dialog, the probe behind the
// waiting dialog, the engine's refusal and proposed output name, and the settings
// dialog. The button and a single dropped file go this way.
class AddVideoFlow {
  Q_DECLARE_TR_FUNCTIONS(AddVideoFlow)

 public:
  // The file dialog: one existing file, native separators; "" when cancelled.
  static QString askForFile(QWidget* parent);
  // The name filter of the file dialogs: the video types, then every file.
  static QString videoFilter();
  // Probes the input, refuses what cannot be transcoded (with its message, owned by
  // parent), lets the user choose in the settings dialog and adds the job to the
  // engine. None when refused, cancelled or the job could not be made (said too).
  static std::optional<JobView> addJob(QWidget* parent, JobEngine& engine, const std::string& inputPath);
  // The message of a refused input: why ("The file does not exist" for a missing
  // one), then the file itself.
  static QString refusalText(const PreparedInput& input);
};

#pragma once

#include <QCoreApplication>
#include <string>

#include "jobs/TotalDeletion.h"

class QWidget;

// Asks before a job of the recycle bin is deleted for good, with a check box (clear
// at first) for deleting its output file too. Where the output cannot go with the
// job, the box says why and stays clear.
class DeleteConfirmation {
  Q_DECLARE_TR_FUNCTIONS(DeleteConfirmation)

 public:
  struct Answer {
    bool confirmed = false;
    bool deleteOutput = false;
  };

  // output: what a deletion would do with the job's output (JobManager::OutputFateOf).
  static Answer ask(QWidget* parent, OutputFate output);
  // The desktop has no trash for the output: asks whether to delete it for good.
  static bool confirmRemoval(QWidget* parent, const std::string& outputFile);
};

#pragma once

#include <QCoreApplication>

class QWidget;

// Asks before a job of the recycle bin is deleted for good, with a check box
// (checked at first) for deleting its output file too.
class DeleteConfirmation {
  Q_DECLARE_TR_FUNCTIONS(DeleteConfirmation)

 public:
  struct Answer {
    bool confirmed = false;
    bool deleteOutput = false;
  };

  static Answer ask(QWidget* parent);
};

#pragma once

#include <QCoreApplication>

class QMessageBox;

// The notice that the backend lists the running version as expired: it names the
// official site (a link the system browser opens) and has one button that, like
// Escape or closing the box, ends the program.
class VersionExpiredDialog {
  Q_DECLARE_TR_FUNCTIONS(VersionExpiredDialog)

 public:
  // The box, without parent, not yet shown.
  static QMessageBox* create();
  // Shows the box modally on the interface thread, then quits the application.
  static void show_and_quit();
};

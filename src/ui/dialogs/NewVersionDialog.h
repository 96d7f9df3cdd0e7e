#pragma once

#include <QCoreApplication>
#include <string>

class QMessageBox;
class QWidget;

// The offer of a downloaded newer version: Install, Not install (disabled when
// the installer is forced) and Exit.
class NewVersionDialog {
  Q_DECLARE_TR_FUNCTIONS(NewVersionDialog)

 public:
  // The box, parented to the window, not yet shown.
  static QMessageBox* create(QWidget* parent, const std::string& new_version,
                             const std::string& current_version, bool force);
  // Shows the box modally: 1 Install, 2 Not install, 3 Exit (also Escape or
  // closing the box), -1 for anything else.
  static int ask(QWidget* parent, const std::string& new_version, const std::string& current_version,
                 bool force);
};

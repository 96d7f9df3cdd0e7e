#pragma once

#include <QString>
#include <QStringList>

// Programs we start and do not wait for (the file manager or player, the installer,
// the power-off command), and what every child of ours may inherit: its standard
// input, output and error, nothing else. A descriptor of ours left open in a child
// that lives on (a file manager runs for hours) keeps pipes, sockets and lock files
// alive behind our back.
class DetachedProcess {
 public:
  // Starts the program (a path, or a name looked up on PATH) in a session of its
  // own; false when it could not be started.
  static bool start(const QString& program, const QStringList& arguments);

  // For the child between fork and exec (async-signal-safe): every descriptor above
  // standard error is closed by the exec. Nothing to do on Windows, where a child
  // inherits only handles made inheritable.
  static void closeOthersOnExec();
};

#include <windows.h>

#include "app/InstanceMessenger.h"

QString InstanceMessenger::nameFor(const QString& key) {
  // Pipe names are machine-wide; the lock is per log-in session, so is the pipe.
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  return key + QStringLiteral("-") + QString::number(session);
}

bool InstanceMessenger::belongsToThisUser() const {
  // The pipe is made with the user's access only (UserAccessOption).
  return true;
}

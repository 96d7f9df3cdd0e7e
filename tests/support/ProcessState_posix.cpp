#include <signal.h>

#include <QFile>
#include <cerrno>

#include "ProcessState.h"

bool process_gone(int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }

bool process_ended(int64_t pid) {
  if (process_gone(pid)) return true;
  QFile stat(QString("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return true;
  const QByteArray text = stat.readAll();
  const int close = text.lastIndexOf(')');
  return close > 0 && close + 2 < text.size() && (text[close + 2] == 'Z' || text[close + 2] == 'X');
}

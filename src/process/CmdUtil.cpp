#include "process/CmdUtil.h"

#include <QProcess>
#include <QRegExp>

std::string CmdUtil::QuotePath(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"') {
      quoted += "\"\"\"";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return quoted;
}

QStringList CmdUtil::SplitCommand(const QString& cmd) { return QProcess::splitCommand(cmd); }

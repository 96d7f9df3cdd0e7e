#include <QProcess>

#include "platform/DetachedProcess.h"

bool DetachedProcess::start(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

void DetachedProcess::closeOthersOnExec() {}

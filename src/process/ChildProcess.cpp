#include "process/ChildProcess.h"

#include <QCoreApplication>

ChildProcess::ChildProcess(QObject* parent)
    : QProcess(parent), parentPid_(QCoreApplication::applicationPid()) {}

bool ChildProcess::startTied(const QString& program, const QStringList& arguments, int msecs) {
  prepareStart();
  start(program, arguments, QIODevice::ReadWrite);
  if (!waitForStarted(msecs)) return false;
  tieStartedChild();
  return true;
}

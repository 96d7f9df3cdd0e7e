#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include "process/ChildProcess.h"
#include "process/CmdUtil.h"

std::vector<std::string> CmdUtil::GetOutputAsLineListQt(const QString& cmd) {
  QStringList args = SplitCommand(cmd);
  if (args.isEmpty()) return {};
  const QString program = args.takeFirst();

  ChildProcess process;
  process.startTied(program, args, 30000);
  // In slices, so a thread asked to end (the progress publisher at exit) does not
  // wait out a probe that hangs, on a pipe for example.
  QThread* const thread = QThread::currentThread();
  for (QDeadlineTimer deadline(30000); process.state() != QProcess::NotRunning && !deadline.hasExpired() &&
                                       !thread->isInterruptionRequested();) {
    process.waitForFinished(100);
  }
  const QByteArray bytes = process.readAllStandardOutput();
  if (process.state() != QProcess::NotRunning) {
    // Past its time: end it here rather than in the destructor, which would only warn.
    process.kill();
    process.waitForFinished(5000);
  }

  QString text;
  if (!bytes.isNull()) {
    text = QString::fromLocal8Bit(bytes.constData(),
                                  static_cast<int>(qstrnlen(bytes.constData(), bytes.size())));
  }
  std::vector<std::string> lines;
  for (const QString& piece : text.split(QRegularExpression("[\r\n]"), Qt::SkipEmptyParts)) {
    lines.push_back(piece.toUtf8().toStdString());
  }
  return lines;
}

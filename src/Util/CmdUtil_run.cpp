#include <QProcess>
#include <QRegularExpression>

#include "Util/ChildProcess.h"
#include "Util/CmdUtil.h"

std::vector<std::string> CmdUtil::GetOutputAsLineListQt(const QString& cmd) {
  QStringList args = SplitCommand(cmd);
  if (args.isEmpty()) return {};
  const QString program = args.takeFirst();

  ChildProcess process;
  process.startTied(program, args, 30000);
  process.waitForFinished(30000);
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

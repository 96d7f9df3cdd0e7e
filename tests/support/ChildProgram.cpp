#include "ChildProgram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>

ChildProgram::ChildProgram(const QString& program, const QStringList& environment,
                           const QString& working_dir) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& entry : environment) {
    const int equals = entry.indexOf('=');
    env.insert(entry.left(equals), entry.mid(equals + 1));
  }
  process_.setProcessEnvironment(env);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  if (!working_dir.isEmpty()) process_.setWorkingDirectory(working_dir);
  process_.start(program, QStringList());
  process_.waitForStarted(10000);
}

ChildProgram::~ChildProgram() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.kill();
  process_.waitForFinished(5000);
}

void ChildProgram::read_available() { output_ += QString::fromUtf8(process_.readAllStandardOutput()); }

QString ChildProgram::output() {
  read_available();
  return output_;
}

QString ChildProgram::wait_for_line(const QString& prefix, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    const bool ended = process_.state() == QProcess::NotRunning;
    read_available();
    const QStringList lines = output_.split('\n');
    // The last piece may be a line still being written.
    for (int i = 0; i + 1 < lines.size(); ++i) {
      if (lines[i].startsWith(prefix)) return lines[i];
    }
    if (ended || clock.elapsed() > timeout_ms) return QString();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    process_.waitForReadyRead(20);
  }
}

bool ChildProgram::wait_for_exit(int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (process_.state() != QProcess::NotRunning) {
    if (clock.elapsed() > timeout_ms) {
      process_.kill();
      process_.waitForFinished(5000);
      read_available();
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    process_.waitForFinished(20);
  }
  read_available();
  return true;
}

QString build_output_dir() { return QCoreApplication::applicationDirPath(); }

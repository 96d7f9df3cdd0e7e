#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A program of the build started by a test, with the test's environment plus
// the given variables. Waiting keeps the test's own event loop turning (the test
// may serve D-Bus calls meanwhile), and every wait has a time-out.
class ChildProgram {
 public:
  explicit ChildProgram(const QString& program, const QStringList& environment = {},
                        const QString& working_dir = QString());
  ~ChildProgram();

  // Waits until a whole line of standard output starts with prefix; returns it.
  QString wait_for_line(const QString& prefix, int timeout_ms);
  // Waits for the end; false on time-out (the process is then killed).
  bool wait_for_exit(int timeout_ms);

  qint64 pid() const { return process_.processId(); }
  bool running() const { return process_.state() != QProcess::NotRunning; }
  int exit_code() const { return process_.exitCode(); }
  bool crashed() const { return process_.exitStatus() == QProcess::CrashExit; }
  // Everything read from standard output so far.
  QString output();

 private:
  void read_available();

  QProcess process_;
  QString output_;
};

// The folder of the test program, where the program and helpers are built.
QString build_output_dir();

#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A child process that cannot outlive this program, however the program ends
// (even by SIGKILL or a crash): on Linux the kernel kills it when the thread that
// started it ends, on Windows it joins a job object that is killed when the
// program's handle to it closes. The encoder and the probe run as these, so a
// killed program never leaves an encoder writing to an output it will start again.
class ChildProcess : public QProcess {
 public:
  explicit ChildProcess(QObject* parent = nullptr);

  // start() and waitForStarted(msecs); a started child is tied to this program.
  // The calling thread must live until the child has ended.
  bool startTied(const QString& program, const QStringList& arguments, int msecs);

 protected:
  // Runs in the child between fork and exec (not used on Windows).
  void setupChildProcess() override;

 private:
  // Ties a started child to this program where that happens after the start;
  // prepareStart readies that before the start (Windows starts the child suspended).
  void prepareStart();
  void tieStartedChild();

  qint64 parentPid_;
};

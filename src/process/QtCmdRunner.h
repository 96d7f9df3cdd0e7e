#pragma once

#include <QObject>
#include <QProcess>
#include <atomic>
#include <cstdint>
#include <string>

class ChildProcess;

namespace Util {

// Runs one command and hands out its merged output line by line while it runs.
// Lives on, and is used only from, the thread that created it.
class QtCmdRunner : public QObject {
  Q_OBJECT

 public:
  explicit QtCmdRunner(const char* cmd);
  ~QtCmdRunner() override;

  // Starts the command; true when it started within 30 s.
  bool Start();
  bool IsCompleted() const;
  // The next output line with its line feed ("\r\n" and bare "\r" count as line
  // ends); once completed, whatever remains (possibly empty).
  std::string ReadStdout();
  // System process id of the running child, -1 when none runs.
  int64_t GetPid() const;
  // The child's exit code; -1 until it has finished (and when it never started).
  int GetExitCode() const;
  // True when the child ran and ended on its own with exit code 0.
  bool FinishedSuccessfully() const;
  // True when the child ran and ended on its own, whatever its exit code (not by a
  // signal or a crash).
  bool ExitedNormally() const { return normalExit_; }

  [[noreturn]] static void Fatal(const char* message);

 public slots:
  void slot_onCmdProcess_finished(int exitCode, QProcess::ExitStatus exitStatus);

 private:
  // Appends a read to the pending text with every "\r\n" and bare "\r" made "\n".
  void appendOutput(std::string chunk);
  // Takes the child out of the registry of killable children.
  void forgetChild();

  std::string command_;
  std::atomic<bool> isCompleted_{false};
  std::string pending_;
  std::atomic<int> exitCode_{-1};
  std::atomic<bool> normalExit_{false};
  bool pendingCarriageReturn_ = false;
  int64_t registeredPid_ = -1;
  ChildProcess* process_ = nullptr;
};

}  // namespace Util

#pragma once

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "process/CommandLine.h"

class ChildProcess;

// The one way the program starts a child it waits for (the probe, the encoder, the
// system's own tools): from an argument list, as a child that cannot outlive the
// program (ChildProcess), registered as ours so that OSUtil::killProcess may end it.
// It tells how the child ended. Read it either line by line while it runs
// (ReadLine) or all at once when it has ended (RunToEnd).
//
// Lives on, and is used only from, the thread that created it; that thread must
// not end while the child runs.
class ProcessRunner {
 public:
  enum class Ending {
    Running,        // not ended yet (or not started)
    Exited,         // ended on its own; ExitCode() says how
    Killed,         // ended by us: OSUtil::killProcess, or RunToEnd's time ran out
    Crashed,        // ended by a signal or a crash we did not cause
    FailedToStart,  // never ran (missing, not executable)
  };
  // Standard output only, or with standard error merged into it (the encoder
  // writes its progress to standard error).
  enum class Output { Standard, Merged };

  explicit ProcessRunner(CommandLine command, Output output = Output::Standard);
  // Ends a child that still runs.
  ~ProcessRunner();
  ProcessRunner(const ProcessRunner&) = delete;
  ProcessRunner& operator=(const ProcessRunner&) = delete;

  // Starts the child; false when it did not start within msecs (the ending is then
  // FailedToStart).
  bool Start(int msecs = 30000);

  // True once the child has ended or its output can no longer be read.
  bool IsCompleted() const { return completed_; }
  // The next output line with its line feed ("\r\n" and a bare "\r" end a line
  // too: the encoder rewrites its progress line with "\r"); once completed,
  // whatever remains (possibly empty).
  std::string ReadLine();

  // Waits up to msecs for the end, in slices, giving up early when the thread is
  // asked to end; a child still running then is killed. No input reaches the
  // child. Returns everything it wrote.
  QByteArray RunToEnd(int msecs);
  // Output as non-empty lines, UTF-8, without line ends: decoded from the system's
  // 8-bit code page, up to the first NUL, split at every "\r" and "\n".
  static std::vector<std::string> Lines(const QByteArray& output);

  // System process id of the running child, -1 when none runs.
  int64_t Pid() const;
  Ending HowItEnded() const { return ending_; }
  // The exit code of a child that Exited; -1 otherwise.
  int ExitCode() const { return exitCode_; }

 private:
  void onFinished(int exitCode, bool normalExit);
  // Appends a read to the pending text with every "\r\n" and bare "\r" made "\n".
  void appendOutput(std::string chunk);
  // Takes the child out of the registry of killable children; true when it was
  // killed through it (now or at an earlier call).
  bool forgetChild();
  [[noreturn]] static void Fatal(const char* message);

  CommandLine command_;
  std::unique_ptr<ChildProcess> process_;
  std::atomic<bool> completed_{false};
  std::atomic<Ending> ending_{Ending::Running};
  std::atomic<int> exitCode_{-1};
  bool killedHere_ = false;             // RunToEnd ran out of time
  bool killedThroughRegistry_ = false;  // OSUtil::killProcess ended it
  std::string pending_;
  bool pendingCarriageReturn_ = false;
  int64_t registeredPid_ = -1;
};

#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "jobs/JobEngine.h"
#include "process/SuspendSignalWatcher.h"

class CliArguments;
class QuitSignalWatcher;
class TranscodeProgress;

// `kovadle-cli transcode`: adds each file through the engine's add chain, as the
// window does (the same refusals, the "_output" names in the output folder, the
// same job files), then follows the jobs until all have ended or a termination
// request stops them. The terminal's Ctrl+Z holds the encoders and stops the
// program; fg or bg lets them go on.
class TranscodeCommand {
 public:
  TranscodeCommand(const CliArguments& arguments, const QuitSignalWatcher& watcher);

  // Returns the exit status: 0 when every job completed, 1 when a file was refused
  // or a job failed, 128 + the signal after a termination request.
  int Run();

 private:
  // The output folder as an absolute path, created when missing; "" after an error.
  std::string outputFolder() const;
  // Why the size asked for cannot be made of a file (JobEngine::Added::smallestBytes).
  std::string sizeRefusal(int64_t smallestBytes) const;
  // Checks one file and submits its job; false when it was refused.
  bool submit(const QString& argument, int number, TranscodeProgress& progress);
  // Runs the event loop, showing what the engine reports, until every job has
  // ended or a signal came.
  void follow(TranscodeProgress& progress);
  void summarize(const TranscodeProgress& progress, int refused, int signal) const;
  // Ctrl+Z: the encoders run in process groups of their own, which the terminal's
  // signal does not reach; they are paused, then the program stops, and once it is
  // continued they go on.
  void suspend(TranscodeProgress& progress);

  const CliArguments& arguments_;
  const QuitSignalWatcher& watcher_;
  JobEngine engine_;
  SuspendSignalWatcher suspendWatcher_;
  std::string folder_;
};

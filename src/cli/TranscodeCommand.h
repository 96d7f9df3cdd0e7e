#pragma once

#include <QString>
#include <string>

class CliArguments;
class JobManager;
class QuitSignalWatcher;
class TranscodeProgress;
class UpdateGUIThread;

// `kovadle-cli transcode`: refuses what the window refuses, names each output by
// the "_output" rule in the output folder, writes the job file as the window does
// and hands the job to the job manager; then follows the jobs until all have ended
// or a termination request stops them.
class TranscodeCommand {
 public:
  TranscodeCommand(const CliArguments& arguments, const QuitSignalWatcher& watcher);

  // Returns the exit status: 0 when every job completed, 1 when a file was refused
  // or a job failed, 128 + the signal after a termination request.
  int Run();

 private:
  // The output folder as an absolute path, created when missing; "" after an error.
  std::string outputFolder() const;
  // Checks one file and submits its job; false when it was refused.
  bool submit(const QString& argument, int number, TranscodeProgress& progress);
  // Runs the event loop, showing what the publisher reports, until every job has
  // ended or a signal came.
  void follow(UpdateGUIThread& publisher, TranscodeProgress& progress);
  void summarize(const TranscodeProgress& progress, int refused, int signal) const;

  const CliArguments& arguments_;
  const QuitSignalWatcher& watcher_;
  JobManager& manager_;
  std::string folder_;
};

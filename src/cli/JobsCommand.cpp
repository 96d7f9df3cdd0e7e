#include "cli/JobsCommand.h"

#include <string>

#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "jobs/JobFile.h"

namespace {

// The table the window puts the job in, by the job file's flags alone.
const char* tableOf(const JobFile& record) {
  if (record.GetIsDeleted()) return "RecycleBin";
  if (record.GetIsCompleted()) return "Completed";
  return "Transcoding";
}

// Where the job stands: queued or running in a live Kovadle process, or how its
// last run ended.
std::string stateOf(const JobFile& record) {
  const JobState elsewhere = record.ElsewhereState();
  if (elsewhere == JobState::Waiting) return "queued";
  if (elsewhere != JobState::Idle) return "running";
  if (record.GetIsCompleted()) return "completed";
  if (record.GetOutcome() == "failed") return "failed";
  if (record.GetIsStopped()) return "stopped";
  return "idle";
}

}  // namespace

int JobsCommand::Run() {
  // Reads the files only: the window or another kovadle-cli may be saving them, so
  // nothing here cleans the folder as the window's start-up loading does.
  for (const std::string& path : JobFile::ListJobFiles()) {
    JobFile record;
    try {
      record.Load(path);
    } catch (const std::string& reason) {
      CliConsole::Err("kovadle-cli: skipped " + path + ": " + reason + "\n");
      continue;
    }
    std::string line = std::string(tableOf(record)) + "\t" + record.GetQuality() + "\t" +
                       record.GetInputFile() + "\t" + record.GetOutputFile() + "\t" + stateOf(record);
    const std::string reason = record.GetFailureReason();
    if (!reason.empty()) line += "\t" + reason;
    CliConsole::Out(line + "\n");
  }
  return cli_exit::kOk;
}

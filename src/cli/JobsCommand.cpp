#include "cli/JobsCommand.h"

#include <string>

#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "jobs/JobFile.h"
#include "text/TerminalText.h"

namespace {

// The table the window puts the job in, by the job file's flags alone.
const char* tableOf(const JobFile& record) {
  if (record.GetIsDeleted()) return "RecycleBin";
  if (record.GetIsCompleted()) return "Completed";
  return "Transcoding";
}

// Where the job stands: running (in a live Kovadle process, this one's or another's),
// or how its last run ended.
std::string stateOf(const JobFile& record) {
  if (record.IsOwnedElsewhere()) return "running";
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
      CliConsole::Err("kovadle-cli: skipped " + TerminalText::Escaped(path) + ": " +
                      TerminalText::Escaped(reason) + "\n");
      continue;
    }
    // One line per job: a tab or line break inside a field is shown escaped.
    const auto shown = &TerminalText::Escaped;
    std::string line = std::string(tableOf(record)) + "\t" + shown(record.GetQuality()) + "\t" +
                       shown(record.GetInputFile()) + "\t" + shown(record.GetOutputFile()) + "\t" +
                       stateOf(record);
    const std::string reason = record.GetFailureReason();
    if (!reason.empty()) line += "\t" + shown(reason);
    CliConsole::Out(line + "\n");
  }
  return cli_exit::kOk;
}

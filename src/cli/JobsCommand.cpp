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
    CliConsole::Out(std::string(tableOf(record)) + "\t" + record.GetQuality() + "\t" + record.GetInputFile() +
                    "\t" + record.GetOutputFile() + "\n");
  }
  return cli_exit::kOk;
}

#include "cli/JobsCommand.h"

#include <string>

#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/JobsJson.h"
#include "jobs/JobEngine.h"
#include "text/TerminalText.h"

int JobsCommand::Run(bool json) {
  // Reads the files only: the window or another kovadle-cli may be saving them, so
  // nothing here cleans the folder as the window's start-up loading does.
  std::vector<std::pair<std::string, std::string>> skipped;
  const std::vector<JobView> jobs = JobEngine::ReadStoredJobs(&skipped);
  for (const auto& [path, reason] : skipped)
    CliConsole::Err("kovadle-cli: skipped " + TerminalText::Escaped(path) + ": " +
                    TerminalText::Escaped(reason) + "\n");
  // One line per job: a tab or line break inside a field is shown escaped.
  const auto shown = &TerminalText::Escaped;
  for (const JobView& job : jobs) {
    // Queued or running in a live Kovadle process, or how its last run ended.
    const std::string state = job.elsewhere == JobState::Waiting  ? "queued"
                              : job.elsewhere == JobState::Paused ? "paused"
                              : job.elsewhere != JobState::Idle   ? "running"
                                                                  : JobStateRules::Name(job.recorded);
    if (json) {
      CliConsole::Out(JobsJson::Line(job, state));
      continue;
    }
    std::string line = JobStateRules::TabName(job.tab) + "\t" + shown(job.quality) + "\t" +
                       shown(job.inputFile) + "\t" + shown(job.outputFile) + "\t" + state;
    // Our own reasons in English, whichever language the job ran in.
    const std::string reason = job.why.English().empty() ? job.reason : job.why.English();
    if (!reason.empty()) line += "\t" + shown(reason);
    CliConsole::Out(line + "\n");
  }
  return cli_exit::kOk;
}

// kovadle-cli: Kovadle's engine from a terminal or a script.
#include <QCoreApplication>

#include "cli/CliArguments.h"
#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/InfoCommand.h"
#include "cli/JobsCommand.h"
#include "cli/TranscodeCommand.h"
#include "environment/AppConstants.h"
#include "process/QuitSignalWatcher.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // The per-user data folders (job files, settings, log) are named after the
  // application, which for the window is its executable's name: share them.
  QCoreApplication::setApplicationName(QStringLiteral("kovadle"));
  QCoreApplication::setApplicationVersion(QString::fromStdString(get_current_version()));
  CliConsole::TakeOver();

  const CliArguments arguments(QCoreApplication::arguments());
  if (arguments.Finished()) return arguments.ExitStatus();
  switch (arguments.GetCommand()) {
    case CliArguments::Command::Info:
      return InfoCommand::Run(arguments.Files(), arguments.Json(),
                              {arguments.SizeBytes(), arguments.Format(), arguments.AllTracks()});
    case CliArguments::Command::Jobs:
      return JobsCommand::Run(arguments.Json());
    case CliArguments::Command::Transcode: {
      // Only here: Ctrl-C must stop encoders and record their jobs; elsewhere its
      // default action ends the program at once, which is what the user wants.
      QuitSignalWatcher quitOnSignal;
      return TranscodeCommand(arguments, quitOnSignal).Run();
    }
  }
  return cli_exit::kUsage;
}

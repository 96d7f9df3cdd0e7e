#include "cli/TranscodeCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "cli/CliArguments.h"
#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/CliInput.h"
#include "cli/TranscodeProgress.h"
#include "environment/UserSettings.h"
#include "log/LogUtil.h"
#include "planning/SizeText.h"
#include "process/QuitSignalWatcher.h"
#include "text/StringUtil.h"
#include "text/TerminalText.h"

TranscodeCommand::TranscodeCommand(const CliArguments& arguments, const QuitSignalWatcher& watcher)
    : arguments_(arguments), watcher_(watcher) {}

std::string TranscodeCommand::outputFolder() const {
  const std::string chosen = arguments_.OutputDir().empty() ? get_output_dir() : arguments_.OutputDir();
  const QString folder = QFileInfo(QString::fromUtf8(chosen.c_str())).absoluteFilePath();
  // A stored folder that was removed meanwhile would fail every encode.
  if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
    CliConsole::Err("kovadle-cli: cannot use the output folder " + TerminalText::Escaped(chosen) + "\n");
    return std::string();
  }
  return QDir::toNativeSeparators(folder).toUtf8().toStdString();
}

std::string TranscodeCommand::sizeRefusal(int64_t smallestBytes) const {
  const std::string size = SizeText::Decimal(arguments_.SizeBytes());
  if (smallestBytes <= 0) return "the size " + size + " cannot be planned: the video's length is not known";
  return "cannot be made as small as " + size + ": the smallest size it can be made in is " +
         SizeText::Decimal(smallestBytes);
}

bool TranscodeCommand::submit(const QString& argument, int number, TranscodeProgress& progress) {
  const std::string input = CliInput::Resolve(argument);
  if (input.empty()) return false;
  const PreparedInput prepared = JobEngine::Prepare(input);
  JobPlan plan;
  plan.quality = arguments_.Quality();
  plan.outputFormat = arguments_.Format();
  plan.outputFolder = folder_;
  plan.keepAllTracks = arguments_.AllTracks();
  plan.targetBytes = arguments_.SizeBytes();
  const JobEngine::Added added = engine_.Add(prepared, plan);
  using Problem = JobEngine::Added::Problem;
  switch (added.problem) {
    case Problem::None:
      break;
    case Problem::Refused:
      progress.Print("kovadle-cli: " + input + ": " + prepared.refusal + "!", true);
      return false;
    case Problem::Quality:
      progress.Print("kovadle-cli: " + input + ": quality " + plan.quality + " is not offered for this " +
                         prepared.resolutionClass +
                         " video; valid qualities: " + CliInput::Joined(prepared.qualities),
                     true);
      return false;
    case Problem::Size:
      progress.Print("kovadle-cli: " + input + ": " + sizeRefusal(added.smallestBytes), true);
      return false;
    case Problem::Output:
    case Problem::JobFile:
      progress.Print("kovadle-cli: " + input + ": " +
                         (added.problem == Problem::Output ? "cannot create " : "cannot save the job in ") +
                         added.path + ": " + added.reason,
                     true);
      return false;
  }
  log_info("kovadle-cli, transcode, job file:" + added.job.jobFilePath);
  progress.Add(added.job, number);
  return true;
}

void TranscodeCommand::follow(TranscodeProgress& progress) {
  QObject context;
  auto quitWhenAllEnded = [&progress] {
    if (progress.AllEnded()) QCoreApplication::quit();
  };
  QObject::connect(&engine_, &JobEngine::jobsStatus, &context,
                   [&progress](const JobsStatus& status) { progress.OnStatus(status); });
  QObject::connect(&engine_, &JobEngine::jobFinished, &context,
                   [&progress, quitWhenAllEnded](const JobFinished& finished) {
                     progress.OnFinished(finished);
                     quitWhenAllEnded();
                   });
  QObject::connect(&engine_, &JobEngine::saveFailed, &context, [&progress](const QString& message) {
    progress.Print("kovadle-cli: warning: a job file could not be written: " + message.toStdString(), true);
  });
  // Jobs refused or ended before the loop ran.
  QTimer::singleShot(0, &context, quitWhenAllEnded);
  QCoreApplication::exec();
}

void TranscodeCommand::suspend(TranscodeProgress& progress) {
  engine_.PauseAll();
  // The shell writes its own lines meanwhile: the bars start afresh below them.
  progress.TakeBarsAway();
  suspendWatcher_.StopSelf();
  engine_.ResumeAll();
}

void TranscodeCommand::summarize(const TranscodeProgress& progress, int refused, int signal) const {
  using State = JobState;
  if (signal != 0) {
    const int stopped = progress.CountOf(State::Stopped);
    CliConsole::Err("Interrupted: " + StringUtil::int_to_str(stopped) + (stopped == 1 ? " job" : " jobs") +
                    " stopped.\n");
    return;
  }
  std::string text = "Finished: " + StringUtil::int_to_str(progress.CountOf(State::Completed)) + " completed";
  if (progress.CountOf(State::Failed) > 0)
    text += ", " + StringUtil::int_to_str(progress.CountOf(State::Failed)) + " failed";
  if (refused > 0) text += ", " + StringUtil::int_to_str(refused) + " refused";
  CliConsole::Out(text + ".\n");
}

int TranscodeCommand::Run() {
  folder_ = outputFolder();
  if (folder_.empty()) return cli_exit::kFailed;

  engine_.StartPublishing();
  const QStringList& files = arguments_.Files();
  TranscodeProgress progress(CliConsole::OutIsTerminal(), files.size());
  QObject context;
  QObject::connect(&suspendWatcher_, &SuspendSignalWatcher::suspendRequested, &context,
                   [this, &progress] { suspend(progress); });
  int refused = 0;
  for (int i = 0; i < files.size() && watcher_.ReceivedSignal() == 0; ++i) {
    if (!submit(files[i], i + 1, progress)) ++refused;
    // A Ctrl+Z while files are checked is not left until they all are.
    QCoreApplication::processEvents();
  }
  // A signal before the loop runs would be lost in it.
  if (progress.Count() > 0 && watcher_.ReceivedSignal() == 0) follow(progress);

  const int signal = watcher_.ReceivedSignal();
  engine_.StopForExit();
  progress.Finish(engine_);
  summarize(progress, refused, signal);

  const bool allDone = refused == 0 && progress.CountOf(JobState::Completed) == progress.Count();
  const int status = signal != 0 ? cli_exit::kSignalBase + signal
                     : allDone   ? cli_exit::kOk
                                 : cli_exit::kFailed;
  return engine_.Leave(status);
}

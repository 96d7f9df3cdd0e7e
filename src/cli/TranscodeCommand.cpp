#include "cli/TranscodeCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "cli/CliArguments.h"
#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/CliInput.h"
#include "cli/TranscodeProgress.h"
#include "environment/UserSettings.h"
#include "jobs/JobCreation.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/UpdateGUIThread.h"
#include "log/LogUtil.h"
#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "process/QuitSignalWatcher.h"
#include "text/StringUtil.h"
#include "text/TerminalText.h"

TranscodeCommand::TranscodeCommand(const CliArguments& arguments, const QuitSignalWatcher& watcher)
    : arguments_(arguments), watcher_(watcher), manager_(JobManager::GetInstance()) {}

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

bool TranscodeCommand::submit(const QString& argument, int number, TranscodeProgress& progress) {
  const std::string input = CliInput::Resolve(argument);
  if (input.empty()) return false;
  const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(input);
  const std::string refusal = CliInput::Refusal(input, info);
  if (!refusal.empty()) {
    progress.Print("kovadle-cli: " + input + ": " + refusal, true);
    return false;
  }
  const std::vector<std::string> qualities = CliInput::QualitiesHighestFirst(input);
  const std::string quality = arguments_.Quality();
  if (std::find(qualities.begin(), qualities.end(), quality) == qualities.end()) {
    const std::string range = FFmpegCmdGenerator::GetResolutionRange(info.width.AsInt());
    progress.Print("kovadle-cli: " + input + ": quality " + quality + " is not offered for this " + range +
                       " video; valid qualities: " + CliInput::Joined(qualities),
                   true);
    return false;
  }

  // The name is reserved on disk at once: the next input, another kovadle-cli or the
  // window naming an output meanwhile takes the next one.
  const JobCreation::Result created = JobCreation::Create(
      input, OSUtil::getUniqueOutputPath(folder_, OSUtil::getFileName(input), arguments_.Format()), quality,
      "h264", arguments_.Format());
  if (created.record == nullptr) {
    const std::string what =
        created.problem == JobCreation::Problem::Output ? "cannot create " : "cannot save the job in ";
    progress.Print("kovadle-cli: " + input + ": " + what + created.path + ": " + created.reason, true);
    return false;
  }
  log_info("kovadle-cli, transcode, job file:" + created.record->GetPath());
  const std::string output = created.record->GetOutputFile();
  progress.Add(manager_.AddAndRunJob(created.record), number, input, output);
  return true;
}

void TranscodeCommand::follow(UpdateGUIThread& publisher, TranscodeProgress& progress) {
  QObject context;
  auto quitWhenAllEnded = [&progress] {
    if (progress.AllEnded()) QCoreApplication::quit();
  };
  QObject::connect(&publisher, &UpdateGUIThread::signal_jobs_status, &context,
                   [&progress](const JobsStatus& status) { progress.OnStatus(status); });
  QObject::connect(&publisher, &UpdateGUIThread::signal_job_finished, &context,
                   [&progress, quitWhenAllEnded](const JobFinished& finished) {
                     progress.OnFinished(finished);
                     quitWhenAllEnded();
                   });
  QObject::connect(
      &publisher, &UpdateGUIThread::signal_save_failed, &context, [&progress](const QString& message) {
        progress.Print("kovadle-cli: warning: a job file could not be written: " + message.toStdString(),
                       true);
      });
  // Jobs refused or ended before the loop ran.
  QTimer::singleShot(0, &context, quitWhenAllEnded);
  QCoreApplication::exec();
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

  UpdateGUIThread publisher(manager_);
  publisher.start();
  const QStringList& files = arguments_.Files();
  TranscodeProgress progress(CliConsole::OutIsTerminal(), files.size());
  int refused = 0;
  for (int i = 0; i < files.size() && watcher_.ReceivedSignal() == 0; ++i) {
    if (!submit(files[i], i + 1, progress)) ++refused;
  }
  // A signal before the loop runs would be lost in it.
  if (progress.Count() > 0 && watcher_.ReceivedSignal() == 0) follow(publisher, progress);

  // The window's exit order: no queued job may start once the jobs are stopped.
  publisher.Stop();
  const int signal = watcher_.ReceivedSignal();
  manager_.StopAllJobs();
  progress.Finish();
  summarize(progress, refused, signal);

  if (signal != 0) return cli_exit::kSignalBase + signal;
  const bool allDone = refused == 0 && progress.CountOf(JobState::Completed) == progress.Count();
  return allDone ? cli_exit::kOk : cli_exit::kFailed;
}

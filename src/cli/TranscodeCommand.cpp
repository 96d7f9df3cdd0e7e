#include "cli/TranscodeCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "Util/LogUtil.h"
#include "Util/OSUtil.h"
#include "Util/QuitSignalWatcher.h"
#include "Util/StringUtil.h"
#include "Util/UserSettings.h"
#include "cli/CliArguments.h"
#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/CliInput.h"
#include "cli/TranscodeProgress.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/UpdateGUIThread.h"
#include "planning/FFmpegCmdGenerator.h"
#include "probe/MediaInfoCache.h"

namespace {

// How often the jobs' flags are looked at: an ended encoder is noticed within this,
// not at the publisher's next one-second cycle.
constexpr int kPollMs = 20;

std::string valueOf(const MediaInfo& info, const char* key) {
  const auto found = info.find(key);
  return found == info.end() ? std::string() : found->second;
}

}  // namespace

TranscodeCommand::TranscodeCommand(const CliArguments& arguments, const QuitSignalWatcher& watcher)
    : arguments_(arguments), watcher_(watcher), manager_(JobManager::GetInstance()) {}

std::string TranscodeCommand::outputFolder() const {
  const std::string chosen = arguments_.OutputDir().empty() ? get_output_dir() : arguments_.OutputDir();
  const QString folder = QFileInfo(QString::fromUtf8(chosen.c_str())).absoluteFilePath();
  // A stored folder that was removed meanwhile would fail every encode.
  if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
    CliConsole::Err("kovadle-cli: cannot use the output folder " + chosen + "\n");
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
    const std::string range =
        FFmpegCmdGenerator::GetResolutionRange(StringUtil::str_to_int(valueOf(info, "Width")));
    progress.Print("kovadle-cli: " + input + ": quality " + quality + " is not offered for this " + range +
                       " video; valid qualities: " + CliInput::Joined(qualities),
                   true);
    return false;
  }

  const std::string output =
      OSUtil::getUniqueOutputPath(folder_, OSUtil::getFileName(input), arguments_.Format());
  // The name rule only avoids files that exist, and a started encoder may not have
  // made its output yet: an empty file takes the name before the next input is named.
  QFile reserved(QString::fromUtf8(output.c_str()));
  if (!reserved.open(QIODevice::WriteOnly)) {
    progress.Print("kovadle-cli: " + input + ": cannot write " + output, true);
    return false;
  }
  reserved.close();

  auto* record = new JobFile;
  record->Init(input, output, quality, "h264", OSUtil::getFileExtension(output));
  if (!OSUtil::isFileExist(record->GetPath())) {
    progress.Print("kovadle-cli: warning: could not write the job file " + record->GetPath() +
                       "; the window will not list this job",
                   true);
  }
  log_info("kovadle-cli, transcode, job file:" + record->GetPath());
  progress.Add(manager_.AddAndRunJob(record), number, input, output);
  return true;
}

void TranscodeCommand::follow(TranscodeProgress& progress) {
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [this, &progress] {
    if (watcher_.ReceivedSignal() != 0) return;  // the loop ends with the signal
    progress.Update();
    if (progress.AllEnded()) QCoreApplication::quit();
    // Waiting jobs start while the machine's load stays below 80%; a machine busy
    // with other work would keep them waiting although none of ours encodes. Like a
    // newly added job, the next one then starts at once.
    if (progress.CountOf(TranscodeProgress::State::Running) == 0 &&
        progress.CountOf(TranscodeProgress::State::Queued) > 0) {
      manager_.RunQueuedJob();
    }
  });
  poll.start(kPollMs);
  QCoreApplication::exec();
}

void TranscodeCommand::summarize(const TranscodeProgress& progress, int refused, int signal) const {
  using State = TranscodeProgress::State;
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
  if (progress.Count() > 0 && watcher_.ReceivedSignal() == 0) follow(progress);

  // The window's exit order: no queued job may start once the jobs are stopped.
  publisher.Stop();
  const int signal = watcher_.ReceivedSignal();
  manager_.StopAllJobs();
  progress.Finish(signal != 0);
  summarize(progress, refused, signal);

  if (signal != 0) return cli_exit::kSignalBase + signal;
  const bool allDone =
      refused == 0 && progress.CountOf(TranscodeProgress::State::Completed) == progress.Count();
  return allDone ? cli_exit::kOk : cli_exit::kFailed;
}

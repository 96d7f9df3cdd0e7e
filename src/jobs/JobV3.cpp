#include "jobs/JobV3.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <fstream>
#include <iostream>

#include "environment/AppConstants.h"
#include "jobs/EncoderErrorLines.h"
#include "jobs/EncoderOutcome.h"
#include "jobs/JobOutput.h"
#include "log/LogUtil.h"
#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "probe/FFprobeUtil.h"
#include "process/ProcessRunner.h"
#include "text/QtText.h"

namespace {

std::mutex& hookLock() {
  static std::mutex lock;
  return lock;
}

std::function<void()>& encoderStartedHook() {
  static std::function<void()> hook;
  return hook;
}

void runEncoderStartedHook() {
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> guard(hookLock());
    hook = encoderStartedHook();
  }
  if (hook) hook();
}

// The generated command ends with the output path: the encoder writes to the partial
// file instead. A command that names its output otherwise runs as it is.
CommandLine writingTo(CommandLine command, const std::string& finalPath, const std::string& partialPath) {
  command.ReplaceLastArgument(finalPath, partialPath);
  return command;
}

}  // namespace

JobV3::JobV3(JobFile* jobFile) : jobFile_(jobFile) {
  state_ = storedState();
  completed_ = state_ == JobState::Completed;
  if (is_debug_mode()) logPath_ = OSUtil::pathJoin(get_appjoblogs_dir(), jobFile->GetJobID() + ".log");
}

JobV3::~JobV3() {
  if (threadBusy_) killEncoder();
  std::thread encoder;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    encoder.swap(encoderThread_);
  }
  if (encoder.joinable()) encoder.join();
}

JobState JobV3::storedState(bool inRecycleBin) const {
  const JobFile& record = *jobFile_;
  return JobStateRules::OfRecord(record.GetIsCompleted(), inRecycleBin && record.GetIsDeleted(),
                                 record.GetIsStopped(), record.GetOutcome());
}

CommandLine JobV3::MakeFFmpegCmd() const {
  return FFmpegCmdGenerator::Generate(jobFile_->GetInputFile(), jobFile_->GetOutputFile(),
                                      jobFile_->GetQuality(), jobFile_->GetKeepAllTracks());
}

void JobV3::GenerateFFmpegCmd() { SetFFmpegCmd(MakeFFmpegCmd()); }

void JobV3::SetFFmpegCmd(const CommandLine& command) {
  std::lock_guard<std::mutex> guard(stateLock_);
  command_ = command;
  cmdGenerated_ = true;
}

CommandLine JobV3::GetFFmpegCmd() const {
  std::lock_guard<std::mutex> guard(stateLock_);
  return command_;
}

bool JobV3::IsRunning() const {
  const JobState state = state_;
  return state == JobState::Starting || state == JobState::Encoding || state == JobState::Stopping;
}

void JobV3::SetFinishedCallback(FinishedCallback callback) { onFinished_ = std::move(callback); }

void JobV3::SetSaveFailedCallback(SaveFailedCallback callback) { onSaveFailed_ = std::move(callback); }

void JobV3::SetEncoderStartedHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> guard(hookLock());
  encoderStartedHook() = std::move(hook);
}

// --- State ----------------------------------------------------------------------------

bool JobV3::MoveTo(JobState to) {
  JobFinished finished;
  bool moved = false;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    moved = moveLocked(to, &finished);
  }
  if (moved) announce(finished);
  return moved;
}

bool JobV3::AdoptStoredState() {
  JobFinished finished;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (!jobFile_->Reload()) return false;
    const JobState stored = storedState();
    if (!JobStateRules::CanMove(state_, stored)) return false;
    state_ = stored;
    completed_ = stored == JobState::Completed;
    finished.jobID = jobFile_->GetJobID();
    finished.outcome = stored;
    finished.inputFile = jobFile_->GetInputFile();
    finished.outputFile = jobFile_->GetOutputFile();
    finished.reason = jobFile_->GetFailureReason();
    finished.errorLines = jobFile_->GetErrorLines();
    finished.why = jobFile_->GetReason();
  }
  announce(finished);
  return true;
}

void JobV3::announce(const JobFinished& finished) {
  if (!finished.jobID.empty() && onFinished_) onFinished_(finished);
}

void JobV3::saveLocked(bool completed, bool deleted, bool stopped, const std::string& outcome,
                       const std::vector<std::string>& errorLines) {
  JobFile& record = *jobFile_;
  const bool changed = record.GetIsCompleted() != completed || record.GetIsDeleted() != deleted ||
                       record.GetIsStopped() != stopped || record.GetOutcome() != outcome ||
                       record.GetErrorLines() != errorLines;
  // A change that could not be written before is written with this one.
  if (!changed && !record.NeedsSave()) return;
  record.SetFlags(completed, deleted, stopped);
  record.SetOutcome(outcome, errorLines);
  if (!record.Save() && onSaveFailed_) onSaveFailed_(record.LastSaveError());
}

bool JobV3::RetrySave() {
  std::lock_guard<std::mutex> guard(stateLock_);
  if (!jobFile_->NeedsSave()) return true;
  return jobFile_->Save();
}

bool JobV3::moveLocked(JobState to, JobFinished* finished) {
  const JobState from = state_;
  if (!JobStateRules::CanMove(from, to)) {
    log_info("Error,JobV3::MoveTo,not allowed from " + JobStateRules::Name(from) + " to " +
             JobStateRules::Name(to) + ",jobID:" + jobFile_->GetJobID());
    return false;
  }
  // The file first: whoever sees the new state finds it recorded.
  recordMoveLocked(from, to, finished);
  completed_ = to == JobState::Completed;
  state_ = to;
  return true;
}

void JobV3::recordMoveLocked(JobState from, JobState to, JobFinished* finished) {
  JobFile& record = *jobFile_;
  const std::string output = record.GetOutputFile();
  switch (to) {
    case JobState::Starting:
      ++startGeneration_;
      [[fallthrough]];
    case JobState::Waiting:
      // A job that runs again is neither finished, stopped nor deleted, in memory
      // as in its file; what the last run left (its reason, figures) goes too.
      failureLines_.clear();
      failureReason_ = JobReason();
      record.SetReason(JobReason());
      record.SetProgressReached(-1);
      record.SetEncodeSeconds(-1);
      saveLocked(false, false, false, "", {});
      return;
    case JobState::Encoding:
    case JobState::Stopping:
    case JobState::Elsewhere:
      return;
    case JobState::Deleted:
      saveLocked(record.GetIsCompleted(), true, record.GetIsStopped(), record.GetOutcome(),
                 record.GetErrorLines());
      return;
    case JobState::Idle:
      // Out of the recycle bin, back to what it was.
      saveLocked(record.GetIsCompleted(), false, record.GetIsStopped(), record.GetOutcome(),
                 record.GetErrorLines());
      return;
    case JobState::Stopped:
    case JobState::Completed:
    case JobState::Failed:
      break;
  }
  if (from == JobState::Deleted) {
    // Restored: out of the recycle bin, in the state it comes back to.
    saveLocked(to == JobState::Completed, false, to != JobState::Completed, record.GetOutcome(),
               record.GetErrorLines());
    return;
  }

  // A run ends here.
  finished->jobID = record.GetJobID();
  finished->outcome = to;
  finished->inputFile = record.GetInputFile();
  finished->outputFile = output;
  if (to == JobState::Completed) {
    record.SetEncodeSeconds(encodeSeconds_);
    saveLocked(true, false, false, "completed", {});
  } else {
    // Nothing that is not a whole output keeps the output's name.
    JobOutput::Discard(JobOutput::PartialPath(output, record.GetJobID()), output);
    record.SetOutputReserved(false);
    // How far it came, for the row of a stopped job (also after a restart).
    const double reached = GetProgress();
    ResetFigures();
    pid_ = -1;
    if (to == JobState::Failed) {
      finished->errorLines = failureLines_;
      finished->why = failureReason_;
      if (!failureLines_.empty()) finished->reason = failureLines_.front();
      record.SetReason(failureReason_);
      // Stopped as well for programs that know no failure; "Outcome" tells it apart.
      saveLocked(false, false, true, "failed", failureLines_);
    } else {
      record.SetProgressReached(reached);
      saveLocked(false, false, true, "stopped", {});
    }
  }
  record.ReleaseOwnership();
}

bool JobV3::SetIsDeleted(bool value) {
  JobFile& record = *jobFile_;
  const bool ownedBefore = record.IsOwnedHere();
  // The change is made to what the file says now, never to a stale copy.
  if (!record.TakeOwnership()) return false;
  bool moved = false;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (value) {
      moved = moveLocked(JobState::Deleted, nullptr);
    } else if (state_ == JobState::Deleted) {
      // Back where it came from; an unfinished job comes back stopped, to be started
      // again by the user.
      const JobState back = storedState(false);
      moved = moveLocked(back == JobState::Idle ? JobState::Stopped : back, nullptr);
    }
  }
  if (!ownedBefore && !JobStateRules::IsActive(state_)) record.ReleaseOwnership();
  return moved;
}

// --- Running and stopping ---------------------------------------------------------------

void JobV3::Run() {
  log_info("JobV3::Run begin, jobID:" + jobFile_->GetJobID());
  // The thread of the last run has done its work; collect it before starting another.
  ReapEncoderThread();
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (!moveLocked(JobState::Encoding, nullptr)) return;
    threadBusy_ = true;
    encoderThread_ = std::thread(&JobV3::encoderThreadMethod, this, command_, logPath_);
  }
  std::cout << "JobV3::Run, end." << std::endl;
}

void JobV3::encoderThreadMethod(CommandLine command, std::string logPath) {
  std::vector<std::string> errorLines;
  JobReason reason;
  double seconds = -1;
  const bool completed = encode(command, logPath, &errorLines, &reason, &seconds);
  JobFinished finished;
  bool moved = false;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (state_ == JobState::Stopping) {
      moved = moveLocked(JobState::Stopped, &finished);
    } else {
      failureLines_ = errorLines;
      failureReason_ = reason;
      encodeSeconds_ = seconds;
      moved = moveLocked(completed ? JobState::Completed : JobState::Failed, &finished);
    }
  }
  if (!completed && !finished.reason.empty())
    log_info("JobV3::ffmpegThreadMethod, failed, jobID:" + finished.jobID + ",reason:" + finished.reason);
  if (moved) announce(finished);
  // Nothing of this object may be touched after this: a waiting destructor goes on
  // as soon as it reads false.
  threadBusy_ = false;
}

bool JobV3::encode(const CommandLine& command, const std::string& logPath,
                   std::vector<std::string>* errorLines, JobReason* reason, double* seconds) {
  BeginRun(TimeLeftEstimator::PipelineOf(command.Arguments()));
  const std::string finalPath = jobFile_->GetOutputFile();
  const std::string partialPath = JobOutput::PartialPath(finalPath, jobFile_->GetJobID());
  std::ofstream log;
  if (!logPath.empty()) {
    log.open(logPath, std::ios::app);
    log << "\n---Start to execute cmd: " << command.ToString() << "\n\n";
  }
  log_info("JobV3::ffmpegThreadMethod,Start to execute the ffmpeg_cmd.");
  // A stop that came before the encoder started: do not start it at all.
  if (state_ == JobState::Stopping) return false;

  EncoderOutcome::Run run;
  EncoderErrorLines errors;
  QElapsedTimer took;
  took.start();
  {
    ProcessRunner runner(writingTo(command, finalPath, partialPath), ProcessRunner::Output::Merged);
    runner.Start();
    runEncoderStartedHook();
    pid_ = runner.Pid();
    // A stop that saw no pid yet relies on this thread to end the encoder.
    if (state_ == JobState::Stopping) killEncoder();
    while (!runner.IsCompleted()) {
      const std::string line = runner.ReadLine();
      if (log.is_open()) log << line << std::flush;
      errors.Add(line);
      HandleOutputLine(line);
    }
    // The process has ended: its number may be reused from now on.
    pid_ = -1;
    EncoderEnded();
    // Lines still pending only matter for the log and the failure's reason.
    for (std::string rest = runner.ReadLine(); !rest.empty(); rest = runner.ReadLine()) {
      if (log.is_open()) log << rest << std::flush;
      errors.Add(rest);
    }
    if (log.is_open()) log << "\n---Command execute completed. \n";
    run.ending = runner.HowItEnded();
    run.exitCode = runner.ExitCode();
  }
  *seconds = took.elapsed() / 1000.0;
  if (state_ == JobState::Stopping) return false;

  run.inputSeconds = GetDuration();
  run.lastTime = done_ / 1000.0;
  run.errorLines = errors.Lines(partialPath, finalPath);
  run.lastLines = errors.Tail();
  MediaInfo output;
  FFprobeUtil::InitMediaInfo(output);
  if (run.ending == ProcessRunner::Ending::Exited && run.exitCode == 0 &&
      QFileInfo(to_qstring(partialPath)).isFile())
    output = FFprobeUtil::GetMediaInfo(partialPath);
  EncoderOutcome::Verdict verdict = EncoderOutcome::Judge(run, output);
  std::string error;
  if (verdict.completed && !JobOutput::Finish(partialPath, finalPath, &error)) {
    verdict.completed = false;
    verdict.reason = {JobReason::kCannotMove, {finalPath, error}};
    verdict.errorLines = {verdict.reason.English()};
  }
  if (!verdict.completed) {
    *errorLines = verdict.errorLines;
    *reason = verdict.reason;
    log_info("JobV3::ffmpegThreadMethod, encoder failed, jobID:" + jobFile_->GetJobID() +
             ",exit code:" + std::to_string(run.exitCode));
  }
  return verdict.completed;
}

void JobV3::killEncoder() {
  const int64_t pid = pid_;
  if (pid > 0) OSUtil::killProcess(pid);
}

bool JobV3::PrepareOutput(std::string* error) {
  JobFile& record = *jobFile_;
  const std::string output = record.GetOutputFile();
  if (record.IsOutputReserved() && JobOutput::IsReservation(output)) return true;
  const std::string reserved = JobOutput::Reserve(output, record.GetInputFile(), error);
  if (reserved.empty()) return false;
  std::lock_guard<std::mutex> guard(stateLock_);
  record.SetOutputReserved(true);
  if (reserved != output) {
    record.SetOutputFile(reserved);
    if (!record.Save() && onSaveFailed_) onSaveFailed_(record.LastSaveError());
    // The command names the old output.
    cmdGenerated_ = false;
  }
  return true;
}

void JobV3::DiscardUnusedOutput() {
  std::lock_guard<std::mutex> guard(stateLock_);
  JobFile& record = *jobFile_;
  if (JobStateRules::IsActive(state_) || !record.IsOutputReserved()) return;
  JobOutput::Discard(JobOutput::PartialPath(record.GetOutputFile(), record.GetJobID()),
                     record.GetOutputFile());
  record.SetOutputReserved(false);
}

bool JobV3::Fail(const std::vector<std::string>& lines, const JobReason& reason) {
  JobFinished finished;
  bool moved = false;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    failureLines_ = lines;
    failureReason_ = reason;
    moved = moveLocked(JobState::Failed, &finished);
  }
  if (moved) announce(finished);
  return moved;
}

void JobV3::AbandonStop() {
  std::lock_guard<std::mutex> guard(stateLock_);
  JobFile& record = *jobFile_;
  JobOutput::Discard(JobOutput::PartialPath(record.GetOutputFile(), record.GetJobID()),
                     record.GetOutputFile());
  record.SetOutputReserved(false);
  record.SetProgressReached(GetProgress());
  saveLocked(false, false, true, "stopped", {});
  record.ReleaseOwnership();
}

bool JobV3::Stop() {
  std::cout << "JobV3::Stop, begin." << std::endl;
  JobFinished finished;
  bool moved = false;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    switch (state_) {
      case JobState::Waiting:
      case JobState::Starting:
        // No encoder yet: stopped at once. A start prepared meanwhile sees it.
        moved = moveLocked(JobState::Stopped, &finished);
        break;
      case JobState::Encoding:
        moveLocked(JobState::Stopping, nullptr);
        // A pid not known yet is killed by the encoder thread once it is.
        killEncoder();
        std::cout << "JobV3::Stop, end." << std::endl;
        return true;
      default:
        return false;
    }
  }
  if (moved) announce(finished);
  std::cout << "JobV3::Stop, end." << std::endl;
  return moved;
}

bool JobV3::WaitUntilIdle(int ms) {
  for (int waited = 0; threadBusy_ && waited < ms; waited += 10) OSUtil::sleepMs(10);
  if (threadBusy_) return false;
  ReapEncoderThread();
  return true;
}

void JobV3::ReapEncoderThread() {
  std::thread encoder;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (threadBusy_) return;
    encoder.swap(encoderThread_);
  }
  if (encoder.joinable()) encoder.join();
}

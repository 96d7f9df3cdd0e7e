#include "jobs/JobV3.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <fstream>
#include <iostream>
#include <map>

#include "environment/AppConstants.h"
#include "jobs/EncoderErrorLines.h"
#include "jobs/EncoderOutcome.h"
#include "jobs/JobOutput.h"
#include "jobs/PassLogFolder.h"
#include "log/LogUtil.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/SizeText.h"
#include "planning/TrackPlan.h"
#include "platform/AwakeClock.h"
#include "platform/ExclusiveFile.h"
#include "platform/OSUtil.h"
#include "probe/FFprobeUtil.h"
#include "probe/MediaInfoCache.h"
#include "probe/StreamLength.h"
#include "process/ProcessRunner.h"
#include "text/QtText.h"
#include "text/StringUtil.h"

namespace {

std::mutex& hookLock() {
  static std::mutex lock;
  return lock;
}

std::function<void()>& encoderStartedHook() {
  static std::function<void()> hook;
  return hook;
}

std::function<void(bool)>& finishingHook() {
  static std::function<void(bool)> hook;
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

void runFinishingHook(bool decided) {
  std::function<void(bool)> hook;
  {
    std::lock_guard<std::mutex> guard(hookLock());
    hook = finishingHook();
  }
  if (hook) hook(decided);
}

// The encoder's output format for a name without an extension.
std::string muxerFor(const std::string& path) {
  static const std::map<std::string, std::string> kMuxers = {{".mp4", "mp4"},   {".mkv", "matroska"},
                                                             {".flv", "flv"},   {".avi", "avi"},
                                                             {".ts", "mpegts"}, {".mov", "mov"}};
  std::string extension = OSUtil::getFileExtension(path);
  StringUtil::to_lower(extension);
  const auto found = kMuxers.find(extension);
  return found == kMuxers.end() ? std::string() : found->second;
}

// The generated command ends with the output path: the encoder writes to the partial
// file instead, reached through target (which, lacking the extension, comes with the
// format). A command that names its output otherwise runs as it is.
CommandLine writingTo(CommandLine command, const std::string& finalPath, const std::string& target,
                      const std::string& muxer) {
  if (command.ReplaceLastArgument(finalPath, target) && !muxer.empty())
    command.InsertBeforeLast({"-f", muxer});
  return command;
}

// The video and audio streams of the input the output keeps, as planned for its
// container (the probe's record is cached by the command's planning).
std::vector<int> keptStreamsOf(const JobFile& record) {
  const MediaInfo input = MediaInfoCache::GetInstance().GetMediaInfo(record.GetInputFile());
  const KeptStreams kept =
      TrackPlan::For(input, OSUtil::getFileExtension(record.GetOutputFile()), record.GetKeepAllTracks())
          .Kept();
  std::vector<int> streams = kept.audio;
  if (kept.video >= 0) streams.insert(streams.begin(), kept.video);
  return streams;
}

// A whole output that cannot take its name is tried again after these pauses.
constexpr int kFinalNameTries = 4;
constexpr int kFinalNameFirstPauseMs = 250;

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

EncoderRuns JobV3::MakeEncoderRuns() const {
  const JobFile& record = *jobFile_;
  if (record.GetTargetBytes() > 0) {
    return EncoderRuns::ForSize(record.GetInputFile(), record.GetOutputFile(), record.GetTargetBytes(),
                                record.GetKeepAllTracks());
  }
  return EncoderRuns::Single(FFmpegCmdGenerator::Generate(record.GetInputFile(), record.GetOutputFile(),
                                                          record.GetQuality(), record.GetKeepAllTracks()));
}

void JobV3::GenerateFFmpegCmd() { SetEncoderRuns(MakeEncoderRuns()); }

void JobV3::SetEncoderRuns(const EncoderRuns& runs) {
  std::lock_guard<std::mutex> guard(stateLock_);
  runs_ = runs;
  cmdGenerated_ = true;
}

EncoderRuns JobV3::GetEncoderRuns() const {
  std::lock_guard<std::mutex> guard(stateLock_);
  return runs_;
}

bool JobV3::IsRunning() const {
  const JobState state = state_;
  return state == JobState::Starting || state == JobState::Encoding || state == JobState::Paused ||
         state == JobState::Stopping;
}

void JobV3::SetFinishedCallback(FinishedCallback callback) { onFinished_ = std::move(callback); }

void JobV3::SetSaveFailedCallback(SaveFailedCallback callback) { onSaveFailed_ = std::move(callback); }

void JobV3::SetEncoderStartedHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> guard(hookLock());
  encoderStartedHook() = std::move(hook);
}

void JobV3::SetFinishingHook(std::function<void(bool decided)> hook) {
  std::lock_guard<std::mutex> guard(hookLock());
  finishingHook() = std::move(hook);
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
  // A pause asked for during an earlier start is not this start's.
  if (to == JobState::Starting) pauseOnStart_ = false;
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
      record.SetRunState(to);
      [[fallthrough]];
    case JobState::Waiting:
      if (to == JobState::Waiting) {
        waitingSince_ = QDateTime::currentMSecsSinceEpoch();
        record.SetRunState(to, waitingSince_);
      }
      // A job that runs again is neither finished, stopped nor deleted, in memory
      // as in its file; what the last run left (its reason, figures) goes too, and the
      // output of an earlier run is no longer its own.
      failureLines_.clear();
      failureReason_ = JobReason();
      record.SetReason(JobReason());
      record.SetProgressReached(-1);
      record.SetEncodeSeconds(-1);
      record.SetOversizedBytes(-1);
      record.SetOutputIdentity(-1, -1);
      saveLocked(false, false, false, "", {});
      return;
    case JobState::Stopping:
    case JobState::Paused:
      record.SetRunState(to);
      return;
    case JobState::Encoding:
      // Resumed; from Starting the lock file says "encoding" already.
      if (from == JobState::Paused) record.SetRunState(to);
      return;
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
  // The output's name is given up; a partial file goes only when it is the one this
  // run made and holds nothing whole.
  const std::string partialPath = JobOutput::PartialPath(output, record.GetJobID());
  if (to != JobState::Completed && partial_ && !keepPartial_ && partial_->IsAt(partialPath))
    OSUtil::removeFile(partialPath);
  partial_.reset();
  JobOutput::Release(output, record.GetJobID());
  if (to == JobState::Completed) {
    record.SetEncodeSeconds(encodeSeconds_);
    saveLocked(true, false, false, "completed", {});
  } else {
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
    hold_.Reopen();
    // Paused while its start was prepared: its encoder waits for the resume.
    if (pauseOnStart_) holdLocked();
    pauseOnStart_ = false;
    threadBusy_ = true;
    encoderThread_ = std::thread(&JobV3::encoderThreadMethod, this, runs_, logPath_);
  }
  std::cout << "JobV3::Run, end." << std::endl;
}

void JobV3::encoderThreadMethod(EncoderRuns runs, std::string logPath) {
  std::vector<std::string> errorLines;
  JobReason reason;
  double seconds = -1;
  const bool whole = encode(runs, logPath, &errorLines, &reason, &seconds);
  if (whole) runFinishingHook(false);
  JobFinished finished;
  bool moved = false;
  bool commit = false;
  {
    // One decision: a stop that came first leaves nothing; otherwise a whole output
    // completes the job, and a stop from now on comes too late.
    std::lock_guard<std::mutex> guard(stateLock_);
    if (state_ == JobState::Stopping) {
      moved = moveLocked(JobState::Stopped, &finished);
    } else if (!whole) {
      failureLines_ = errorLines;
      failureReason_ = reason;
      moved = moveLocked(JobState::Failed, &finished);
    } else {
      encodeSeconds_ = seconds;
      commit = committing_ = true;
    }
  }
  if (commit) {
    runFinishingHook(true);
    JobReason nameReason;
    const std::string taken = takeFinalName(&nameReason);
    int64_t size = -1, modified = -1;
    const bool known = !taken.empty() && JobOutput::IdentityOf(taken, &size, &modified);
    std::lock_guard<std::mutex> guard(stateLock_);
    committing_ = false;
    if (!taken.empty()) {
      jobFile_->SetOutputFile(taken);
      if (known) jobFile_->SetOutputIdentity(size, modified);
      moved = moveLocked(JobState::Completed, &finished);
    } else {
      failureLines_ = {nameReason.English()};
      failureReason_ = nameReason;
      keepPartial_ = true;
      moved = moveLocked(JobState::Failed, &finished);
      keepPartial_ = false;
    }
  }
  if (finished.outcome == JobState::Failed && !finished.reason.empty())
    log_info("JobV3::ffmpegThreadMethod, failed, jobID:" + finished.jobID + ",reason:" + finished.reason);
  if (moved) announce(finished);
  // Nothing of this object may be touched after this: a waiting destructor goes on
  // as soon as it reads false.
  threadBusy_ = false;
}

struct JobV3::Output {
  std::string finalPath;
  std::string partialPath;
  std::string target;  // the name the encoder writes the partial file by
  std::string muxer;   // its format, when the name lacks the extension
  ExclusiveFile* file = nullptr;
};

bool JobV3::encode(const EncoderRuns& runs, const std::string& logPath, std::vector<std::string>* errorLines,
                   JobReason* reason, double* seconds) {
  oversized_ = 0;
  const bool twoPass = runs.TwoPass();
  TimeLeftEstimator::Pipeline first =
      TimeLeftEstimator::PipelineOf((twoPass ? runs.analysis : runs.output).Arguments());
  if (twoPass) first.laterRuns = (1 - kAnalysisShare) / kAnalysisShare;
  SetRunShare(0, twoPass ? kAnalysisShare : 1);
  BeginRun(first);
  Output output;
  output.finalPath = jobFile_->GetOutputFile();
  output.partialPath = JobOutput::PartialPath(output.finalPath, jobFile_->GetJobID());
  std::ofstream log;
  if (!logPath.empty()) {
    log.open(logPath, std::ios::app);
    if (twoPass) log << "\n---Start to execute cmd: " << runs.analysis.ToString() << "\n";
    log << "\n---Start to execute cmd: " << runs.output.ToString() << "\n\n";
  }
  log_info("JobV3::ffmpegThreadMethod,Start to execute the ffmpeg_cmd.");
  // A stop that came before the encoder started: do not start it at all.
  if (state_ == JobState::Stopping) return false;

  // What the output is judged against, and progress measured by: the probe's length
  // of the streams the output keeps.
  inputSeconds_ =
      StreamLength::Measure(jobFile_->GetInputFile(), keptStreamsOf(*jobFile_), [this](int64_t pid) {
        probePid_ = pid;
        if (state_ == JobState::Stopping) killEncoder();
      });
  probePid_ = -1;
  SetDuration(inputSeconds_);
  // A paused job starts no encoder until it is resumed (or stopped).
  if (!hold_.WaitWhileHeld() || state_ == JobState::Stopping) return false;
  // The input changed since the size was chosen (or its length became unreadable).
  if (runs.HasSize() && !runs.size.Encodable()) {
    const std::string target = SizeText::Decimal(runs.size.targetBytes);
    *reason = runs.size.verdict == SizePlan::Verdict::TooSmall
                  ? JobReason{JobReason::kSizeTooSmall, {target, SizeText::Decimal(runs.size.smallestBytes)}}
                  : JobReason{JobReason::kSizeUnplanned, {target}};
    *errorLines = {reason->English()};
    return false;
  }

  // The partial file is made here, before the encoder runs, and never through
  // anything already at its name; the encoder writes into this very file.
  auto partial = std::make_unique<ExclusiveFile>();
  std::string error;
  const CreateOutcome made = partial->Create(output.partialPath, &error);
  if (made != CreateOutcome::Created) {
    if (made == CreateOutcome::Exists)
      log_info("Error,JobV3::encode, refused what has the partial name:" + output.partialPath);
    *reason = {JobReason::kCannotCreate, {output.partialPath, error}};
    *errorLines = {reason->English()};
    return false;
  }
  output.muxer = muxerFor(output.finalPath);
  output.target = output.muxer.empty() ? output.partialPath : partial->PathForOthers();
  output.file = partial.get();
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    partial_ = std::move(partial);
  }

  QElapsedTimer took;
  took.start();
  const EncoderOutcome::Verdict verdict =
      twoPass ? encodeToSize(runs, output, log) : makeOutput(runs.output, output, runs.size.targetBytes, log);
  *seconds = took.elapsed() / 1000.0;
  if (log.is_open()) log << "\n---Command execute completed. \n";
  if (state_ == JobState::Stopping) return false;
  if (!verdict.completed) {
    *errorLines = verdict.errorLines;
    *reason = verdict.reason;
    log_info("JobV3::ffmpegThreadMethod, encoder failed, jobID:" + jobFile_->GetJobID());
  }
  return verdict.completed;
}

EncoderOutcome::Verdict JobV3::encodeToSize(const EncoderRuns& runs, const Output& output,
                                            std::ofstream& log) {
  EncoderOutcome::Verdict verdict;
  PassLogFolder folder(jobFile_->GetJobID());
  std::string error;
  if (!folder.Valid(&error)) {
    verdict.reason = {JobReason::kCannotCreate, {folder.Path(), error}};
    verdict.errorLines = {verdict.reason.English()};
    return verdict;
  }
  const EncoderRuns ready = runs.WithPassLog(folder.Prefix());
  EncoderErrorLines errors;
  EncoderOutcome::Run analysis = runEncoder(ready.analysis, log, &errors, false);
  if (state_ == JobState::Stopping) return verdict;
  if (analysis.ending != ProcessRunner::Ending::Exited || analysis.exitCode != 0) {
    analysis.errorLines = errors.Lines(output.target, output.finalPath);
    analysis.lastLines = errors.Tail();
    return EncoderOutcome::Judge(analysis, MediaInfo());
  }

  // The output's run is slower than the analysis by about the shares' ratio.
  const auto beginOutputRun = [this](const CommandLine& command, double expectedRate) {
    TimeLeftEstimator::Pipeline pipeline = TimeLeftEstimator::PipelineOf(command.Arguments());
    pipeline.expectedRate = expectedRate;
    SetRunShare(kAnalysisShare, 1 - kAnalysisShare);
    BeginRun(pipeline);
  };
  const double analysisRate = GetRecentRate();
  beginOutputRun(ready.output, analysisRate > 0 ? analysisRate * kAnalysisShare / (1 - kAnalysisShare) : 0);
  verdict = makeOutput(ready.output, output, runs.size.targetBytes, log);
  if (!verdict.overTarget || state_ == JobState::Stopping) return verdict;

  // Over the size: once more, the rate lowered by what it was over.
  const int64_t over = output.file->Size();
  const int rate = SizePlan::RetryVideoBitrate(runs.size.params.videoBitrate, over, runs.size.targetBytes,
                                               inputSeconds_ > 0 ? inputSeconds_ : runs.size.seconds);
  log_info("JobV3::encodeToSize, the output is over its size, jobID:" + jobFile_->GetJobID() +
           ",bytes:" + std::to_string(over) + ",retry video rate:" + std::to_string(rate));
  if (rate <= 0) return verdict;
  jobFile_->SetOversizedBytes(over);
  oversized_ = over;
  const double outputRate = GetRecentRate();
  const CommandLine again = ready.OutputAt(rate);
  beginOutputRun(again, outputRate);
  if (log.is_open()) log << "\n---Start to execute cmd: " << again.ToString() << "\n\n";
  verdict = makeOutput(again, output, runs.size.targetBytes, log);
  oversized_ = 0;
  return verdict;
}

EncoderOutcome::Run JobV3::runEncoder(const CommandLine& command, std::ofstream& log,
                                      EncoderErrorLines* errors, bool last) {
  EncoderOutcome::Run run;
  // A job paused between two runs starts the next once resumed; a stop starts none.
  if (!hold_.WaitWhileHeld() || state_ == JobState::Stopping) return run;
  ProcessRunner runner(command, ProcessRunner::Output::Merged);
  runner.Start();
  runEncoderStartedHook();
  const int64_t encoderPid = runner.Pid();
  pid_ = encoderPid;
  // Paused meanwhile: held at once.
  hold_.Adopt(encoderPid);
  // A stop that saw no pid yet relies on this thread to end the encoder.
  if (state_ == JobState::Stopping) killEncoder();
  while (!runner.IsCompleted()) {
    const std::string line = runner.ReadLine();
    if (log.is_open()) log << line << std::flush;
    errors->Add(line);
    HandleOutputLine(line);
  }
  // The process has ended: its number may be reused from now on.
  pid_ = -1;
  hold_.Forget(encoderPid);
  if (last) EncoderEnded();
  // Lines still pending only matter for the log and the failure's reason.
  for (std::string rest = runner.ReadLine(); !rest.empty(); rest = runner.ReadLine()) {
    if (log.is_open()) log << rest << std::flush;
    errors->Add(rest);
  }
  run.ending = runner.HowItEnded();
  run.exitCode = runner.ExitCode();
  run.inputSeconds = inputSeconds_;
  return run;
}

EncoderOutcome::Verdict JobV3::makeOutput(const CommandLine& command, const Output& output,
                                          int64_t targetBytes, std::ofstream& log) {
  EncoderErrorLines errors;
  const CommandLine writing = writingTo(command, output.finalPath, output.target,
                                        output.target == output.partialPath ? "" : output.muxer);
  EncoderOutcome::Run run = runEncoder(writing, log, &errors, true);
  if (state_ == JobState::Stopping) return EncoderOutcome::Verdict();
  run.lastTime = done_ / 1000.0;
  run.errorLines = errors.Lines(output.target, output.finalPath);
  run.lastLines = errors.Tail();
  run.targetBytes = targetBytes;
  run.outputBytes = output.file->Size();
  const bool ended = run.ending == ProcessRunner::Ending::Exited && run.exitCode == 0;
  if (ended && !output.file->IsAt(output.partialPath)) {
    // Whatever the name leads to now is not what the encoder wrote.
    EncoderOutcome::Verdict verdict;
    verdict.reason = {JobReason::kOutputReplaced, {output.finalPath}};
    verdict.errorLines = {verdict.reason.English()};
    return verdict;
  }
  MediaInfo probed;
  FFprobeUtil::InitMediaInfo(probed);
  if (ended) probed = FFprobeUtil::GetMediaInfo(output.target);
  return EncoderOutcome::Judge(run, probed);
}

std::string JobV3::takeFinalName(JobReason* reason) {
  const JobFile& record = *jobFile_;
  const std::string finalPath = record.GetOutputFile();
  const std::string partialPath = JobOutput::PartialPath(finalPath, record.GetJobID());
  std::string error;
  for (int attempt = 0; attempt < kFinalNameTries; ++attempt) {
    // A name held just now (a scanner, a preview) is often free a moment later.
    if (attempt > 0) OSUtil::sleepMs(kFinalNameFirstPauseMs << (attempt - 1));
    const std::string taken =
        JobOutput::TakeFinalName(*partial_, finalPath, record.GetInputFile(), record.GetJobID(), &error);
    if (!taken.empty()) return taken;
    if (!partial_->IsAt(partialPath)) {
      *reason = {JobReason::kOutputReplaced, {finalPath}};
      return std::string();
    }
  }
  *reason = {JobReason::kKeptAs, {partialPath, finalPath, error}};
  return std::string();
}

void JobV3::killEncoder() {
  hold_.Close();
  for (const int64_t pid : {pid_.load(), probePid_.load()}) {
    if (pid > 0) OSUtil::killProcess(pid);
  }
}

bool JobV3::PrepareOutput(std::string* error) {
  JobFile& record = *jobFile_;
  const std::string output = record.GetOutputFile();
  const std::string jobID = record.GetJobID();
  if (JobOutput::IsReservedFor(output, jobID) && !OSUtil::isPathTaken(output)) return true;
  const std::string reserved = JobOutput::Reserve(output, record.GetInputFile(), jobID, error);
  if (reserved.empty()) return false;
  if (reserved != output) {
    std::lock_guard<std::mutex> guard(stateLock_);
    record.SetOutputFile(reserved);
    if (!record.Save() && onSaveFailed_) onSaveFailed_(record.LastSaveError());
    // The command names the old output.
    cmdGenerated_ = false;
  }
  return true;
}

void JobV3::DiscardUnusedOutput() {
  std::lock_guard<std::mutex> guard(stateLock_);
  if (JobStateRules::IsActive(state_)) return;
  JobOutput::Release(jobFile_->GetOutputFile(), jobFile_->GetJobID());
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
  // The encoder thread still uses the file object: only the name goes.
  const std::string partialPath = JobOutput::PartialPath(record.GetOutputFile(), record.GetJobID());
  if (partial_ && partial_->IsAt(partialPath)) OSUtil::removeFile(partialPath);
  JobOutput::Release(record.GetOutputFile(), record.GetJobID());
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
      case JobState::Paused:
        if (committing_) {
          log_info("JobV3::Stop, too late: the whole output is taking its name, jobID:" +
                   jobFile_->GetJobID());
          return false;
        }
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

bool JobV3::Pause() {
  std::lock_guard<std::mutex> guard(stateLock_);
  if (state_ == JobState::Starting) {
    pauseOnStart_ = true;
    return true;
  }
  if (state_ != JobState::Encoding || committing_) return false;
  return holdLocked();
}

bool JobV3::holdLocked() {
  if (!moveLocked(JobState::Paused, nullptr)) return false;
  hold_.Hold();
  PauseEstimate(AwakeClock::NowMs());
  log_info("JobV3::Pause, jobID:" + jobFile_->GetJobID());
  return true;
}

bool JobV3::Resume() {
  std::lock_guard<std::mutex> guard(stateLock_);
  if (state_ == JobState::Starting && pauseOnStart_) {
    pauseOnStart_ = false;
    return true;
  }
  if (state_ != JobState::Paused || !moveLocked(JobState::Encoding, nullptr)) return false;
  ResumeEstimate(AwakeClock::NowMs());
  hold_.Release();
  log_info("JobV3::Resume, jobID:" + jobFile_->GetJobID());
  return true;
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

#include "jobs/JobEngine.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "environment/AppConstants.h"
#include "jobs/JobCreation.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/QueueTimeLeft.h"
#include "jobs/StoredJobLoader.h"
#include "jobs/UpdateGUIThread.h"
#include "log/LogUtil.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/InputAcceptance.h"
#include "planning/SizePlan.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"

namespace {

// The record's part of a view; the state is what the record says.
JobView viewOfRecord(const JobFile& record) {
  JobView view;
  view.jobID = record.GetJobID();
  const bool completed = record.GetIsCompleted();
  const bool stopped = record.GetIsStopped();
  const std::string outcome = record.GetOutcome();
  view.state = JobStateRules::OfRecord(completed, record.GetIsDeleted(), stopped, outcome);
  view.tab = JobStateRules::TabOf(view.state);
  view.recorded = JobStateRules::OfRecord(completed, false, stopped, outcome);
  view.markedStopped = stopped;
  view.inputFile = record.GetInputFile();
  view.outputFile = record.GetOutputFile();
  view.quality = record.GetQuality();
  view.outputFormat = record.GetOutputFormat();
  view.outputCodec = record.GetOutputCodec();
  view.keepAllTracks = record.GetKeepAllTracks();
  view.targetBytes = record.GetTargetBytes();
  view.oversizedBytes = record.GetOversizedBytes();
  view.generatedTime = record.GetGeneratedTime();
  view.jobFilePath = record.GetPath();
  view.reason = record.GetFailureReason();
  if (view.recorded == JobState::Failed) {
    view.errorLines = record.GetErrorLines();
    view.why = record.GetReason();
  }
  if (view.recorded == JobState::Stopped) view.progressReached = record.GetProgressReached();
  if (view.recorded == JobState::Completed) view.encodeSeconds = record.GetEncodeSeconds();
  return view;
}

JobView viewOf(const JobV3& job) {
  JobView view = viewOfRecord(*job.GetJobFile());
  view.state = job.GetState();
  view.progress = job.GetProgress();
  view.timeLeft = job.GetEstimateLeftTime();
  view.speed = job.GetSpeed();
  return view;
}

std::vector<JobView> viewsOf(const std::vector<JobV3*>& jobs) {
  std::vector<JobView> views;
  views.reserve(jobs.size());
  for (const JobV3* job : jobs) views.push_back(viewOf(*job));
  return views;
}

}  // namespace

JobEngine::JobEngine(QObject* parent) : JobEngine(JobManager::GetInstance(), parent) {}

JobEngine::JobEngine(JobManager& manager, QObject* parent) : QObject(parent), manager_(manager) {}

JobEngine::~JobEngine() {
  StopPublishing();
  loader_.reset();
}

// --- Adding a video ----------------------------------------------------------------------

const std::vector<std::string>& JobEngine::VideoFilePatterns() {
  static const std::vector<std::string> patterns = {
      "*.avi", "*.mp4",  "*.mkv", "*.wmv",  "*.ts",  "*.rm",  "*.rmvb", "*.mpg", "*.mpeg", "*.3gp", "*.3g2",
      "*.asf", "*.divx", "*.flv", "*.m2ts", "*.mov", "*.m4v", "*.mtv",  "*.ogg", "*.rv",   "*.dat", "*.swf"};
  return patterns;
}

PreparedInput JobEngine::Prepare(const std::string& inputPath) {
  PreparedInput input;
  input.path = inputPath;
  input.missing = OSUtil::getFileKind(inputPath) == OSUtil::FileKind::Missing;
  input.info = MediaInfoCache::GetInstance().GetMediaInfo(inputPath);
  input.refusal = InputAcceptance::RefusalOf(inputPath, input.info);
  if (!input.refusal.empty()) return input;
  input.qualities = FFmpegCmdGenerator::QualitysFor(input.info, inputPath);
  std::sort(input.qualities.rbegin(), input.qualities.rend());
  if (input.qualities.empty()) {
    // Accepted by every rule and still nothing to offer: no table fits it.
    input.refusal = QT_TRANSLATE_NOOP("QObject", "Non video files are not supported");
    return input;
  }
  input.resolutionClass = FFmpegCmdGenerator::GetResolutionRange(input.info.width.AsInt());
  return input;
}

std::string JobEngine::ProposedOutput(const std::string& inputPath, const std::string& folder,
                                      const std::string& format) {
  return OSUtil::getUniqueOutputPath(folder, OSUtil::getFileName(inputPath), format);
}

JobEngine::Added JobEngine::Add(const PreparedInput& input, const JobPlan& plan) {
  Added added;
  if (!input.Accepted()) {
    added.problem = Added::Problem::Refused;
    added.reason = input.refusal;
    return added;
  }
  std::string quality = plan.quality;
  if (plan.targetBytes > 0) {
    // The size has no ladder quality: the row it buys is recorded as the job's.
    const SizePlan size = SizePlan::For(input.info, plan.targetBytes, plan.outputFormat, plan.keepAllTracks);
    if (!size.Encodable()) {
      added.problem = Added::Problem::Size;
      added.smallestBytes = size.smallestBytes;
      return added;
    }
    quality = size.quality;
  } else if (std::find(input.qualities.begin(), input.qualities.end(), quality) == input.qualities.end()) {
    added.problem = Added::Problem::Quality;
    return added;
  }
  // The name is reserved on disk at once: the next input, another Kovadle process
  // naming an output meanwhile, takes the next one.
  const JobCreation::Result created =
      JobCreation::Create(input.path, ProposedOutput(input.path, plan.outputFolder, plan.outputFormat),
                          quality, plan.outputCodec, plan.outputFormat, plan.keepAllTracks, plan.targetBytes);
  if (created.record == nullptr) {
    added.problem =
        created.problem == JobCreation::Problem::Output ? Added::Problem::Output : Added::Problem::JobFile;
    added.path = created.path;
    added.reason = created.reason;
    return added;
  }
  added.job = viewOf(*manager_.AddAndRunJob(created.record));
  return added;
}

// --- Stored jobs ---------------------------------------------------------------------------

std::vector<JobView> JobEngine::LoadStoredJobs() { return viewsOf(manager_.LoadStoredJobs()); }

void JobEngine::StartLoadingStoredJobs() {
  if (loader_) return;
  loading_ = true;
  // Sent from the loader's thread, delivered on the engine's; dropped once the engine
  // is gone.
  loader_ =
      std::make_unique<StoredJobLoader>(manager_, get_appjobfile_dir(), [this](JobIDs jobIDs, bool last) {
        QMetaObject::invokeMethod(
            this,
            [this, jobIDs = std::move(jobIDs), last] {
              if (!jobIDs.empty()) emit storedJobsTaken(jobIDs);
              if (!last) return;
              loading_ = false;
              emit storedJobsLoaded();
            },
            Qt::QueuedConnection);
      });
  loader_->Start();
}

std::vector<JobView> JobEngine::ReadStoredJobs(std::vector<std::pair<std::string, std::string>>* skipped) {
  std::vector<JobView> views;
  for (const std::string& path : JobFile::ListJobFiles()) {
    JobFile record;
    try {
      record.Load(path);
    } catch (const std::string& reason) {
      if (skipped != nullptr) skipped->emplace_back(path, reason);
      continue;
    }
    JobView view = viewOfRecord(record);
    view.elsewhere = record.ElsewhereState();
    if (view.elsewhere != JobState::Idle) view.state = JobState::Elsewhere;
    views.push_back(view);
  }
  return views;
}

// --- Actions -------------------------------------------------------------------------------

JobEngine::Result JobEngine::refusal(const std::string& jobID) const {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr) return Result::NoSuchJob;
  return job->IsElsewhere() ? Result::Elsewhere : Result::NotAllowed;
}

JobEngine::Result JobEngine::Start(const std::string& jobID) {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr || job->IsElsewhere() || JobStateRules::IsActive(job->GetState())) return refusal(jobID);
  return manager_.RunJob(jobID) ? Result::Done : refusal(jobID);
}

JobEngine::Result JobEngine::Stop(const std::string& jobID) {
  const JobV3* job = manager_.FindJob(jobID);
  // Only an active job: the stop takes it off the run list, where an ended job waits
  // to be reported.
  if (job == nullptr || !JobStateRules::IsActive(job->GetState())) return refusal(jobID);
  return manager_.StopJob(jobID) ? Result::Done : refusal(jobID);
}

JobEngine::Result JobEngine::Pause(const std::string& jobID) {
  return manager_.PauseJob(jobID) ? Result::Done : refusal(jobID);
}

JobEngine::Result JobEngine::Resume(const std::string& jobID) {
  return manager_.ResumeJob(jobID) ? Result::Done : refusal(jobID);
}

JobEngine::Result JobEngine::PauseAll() {
  return manager_.PauseAllJobs() > 0 ? Result::Done : Result::NotAllowed;
}

JobEngine::Result JobEngine::ResumeAll() {
  return manager_.ResumeAllJobs() > 0 ? Result::Done : Result::NotAllowed;
}

JobEngine::Result JobEngine::Delete(const std::string& jobID) {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr || job->IsDeleted() || JobStateRules::IsActive(job->GetState())) return refusal(jobID);
  return manager_.MoveToRecycleBin(jobID) ? Result::Done : refusal(jobID);
}

JobEngine::Result JobEngine::Restore(const std::string& jobID) {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr || !job->IsDeleted()) return refusal(jobID);
  return manager_.RestoreFromRecycleBin(jobID) ? Result::Done : refusal(jobID);
}

JobEngine::Result JobEngine::DeleteCompletely(const std::string& jobID, bool withOutput) {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr || !job->IsDeleted()) return refusal(jobID);
  return manager_.TotalDelete(jobID, withOutput) ? Result::Done : refusal(jobID);
}

TotalDeletion JobEngine::DeleteCompletely(const std::string& jobID, OutputDisposal output) {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr || !job->IsDeleted()) return TotalDeletion();
  return manager_.TotalDelete(jobID, output);
}

OutputFate JobEngine::OutputFateOf(const std::string& jobID) { return manager_.OutputFateOf(jobID); }

bool JobEngine::RemoveOutput(const TotalDeletion& deletion) { return manager_.RemoveOutput(deletion); }

// --- Views ---------------------------------------------------------------------------------

std::optional<JobView> JobEngine::View(const std::string& jobID) const {
  const JobV3* job = manager_.FindJob(jobID);
  if (job == nullptr) return std::nullopt;
  return viewOf(*job);
}

std::vector<JobView> JobEngine::Views() const { return viewsOf(manager_.GetAllJobs()); }

std::unordered_map<std::string, JobState> JobEngine::StatesOf(const std::vector<std::string>& jobIDs) const {
  std::unordered_map<std::string, JobState> states;
  for (const std::string& jobID : jobIDs) {
    if (const JobV3* job = manager_.FindJob(jobID)) states.emplace(jobID, job->GetState());
  }
  return states;
}

int JobEngine::ListedJobCount() const { return manager_.GetRunningJobCount(); }

int JobEngine::ActiveJobCount() const {
  int count = 0;
  for (const JobV3* job : manager_.OpRunningJobs("get", nullptr))
    count += JobStateRules::IsActive(job->GetState());
  return count;
}

int JobEngine::LiveEncoderCount() const {
  int count = 0;
  for (const JobV3* job : manager_.GetAllJobs()) count += job->IsRunning();
  return count;
}

int JobEngine::PausedJobCount() const { return manager_.GetPausedJobCount(); }

int JobEngine::PausableJobCount() const {
  int count = 0;
  for (const JobV3* job : manager_.OpRunningJobs("get", nullptr)) {
    const JobState state = job->GetState();
    count += state == JobState::Starting || state == JobState::Encoding;
  }
  return count;
}

bool JobEngine::QueueHeld() const { return manager_.IsQueueHeld(); }

int JobEngine::BusyJobCount() const {
  const bool held = QueueHeld();
  int count = 0;
  // Listed: active, or ended and not yet reported.
  for (const JobV3* job : manager_.OpRunningJobs("get", nullptr)) {
    const JobState state = job->GetState();
    count += state != JobState::Paused && !(held && state == JobState::Waiting);
  }
  const JobManager::JobsElsewhere others = manager_.GetJobsElsewhere();
  return count + others.encoding + others.stopping + (held ? 0 : others.waiting);
}

int JobEngine::ActiveJobsElsewhere() const { return manager_.GetJobsElsewhere().Active(); }

// --- Events --------------------------------------------------------------------------------

void JobEngine::StartPublishing() {
  if (publisher_) return;
  publisher_ = std::make_unique<UpdateGUIThread>(manager_);
  // Sent from the publisher's thread, delivered on the engine's.
  connect(publisher_.get(), &UpdateGUIThread::signal_jobs_status, this, &JobEngine::jobsStatus,
          Qt::QueuedConnection);
  connect(publisher_.get(), &UpdateGUIThread::signal_job_finished, this, &JobEngine::jobFinished,
          Qt::QueuedConnection);
  connect(publisher_.get(), &UpdateGUIThread::signal_save_failed, this, &JobEngine::saveFailed,
          Qt::QueuedConnection);
  connect(publisher_.get(), &UpdateGUIThread::signal_transcode_progress_update, this,
          &JobEngine::progressSnapshot, Qt::QueuedConnection);
  publisher_->start(QThread::InheritPriority);
}

void JobEngine::StopPublishing() {
  if (!publisher_) return;
  publisher_->Stop();
  publisher_.reset();
}

std::string JobEngine::ProgressText(const JobsStatus& status) { return JobManager::JobsProgressText(status); }

std::optional<double> JobEngine::QueueTimeLeft(const JobsStatus& status) { return QueueTimeLeft::Of(status); }

// --- Leaving -------------------------------------------------------------------------------

bool JobEngine::StopForExit(int waitMs) {
  // First: no waiting job may start once the jobs are stopped.
  StopPublishing();
  if (loader_) loader_->Stop();
  stuck_ = !manager_.StopAllJobs(waitMs);
  return !stuck_;
}

int JobEngine::Leave(int code) {
  if (!stuck_) return code;
  // The thread of an encoder that did not end (stuck on a dead network share) still
  // uses the manager and the statics: none of them may be torn down under it. Its
  // job is saved as stopped already; the encoder dies with the program.
  log_info("JobEngine::Leave, an encoder did not end; leaving at once.");
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  flush_logs();
  std::_Exit(code);
}

#include "jobs/JobManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <iostream>

#include "environment/AppConstants.h"
#include "jobs/JobOutput.h"
#include "jobs/JobOwnership.h"
#include "jobs/PassLogFolder.h"
#include "jobs/ProgressSnapshotText.h"
#include "jobs/StoredJobLoader.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"

JobManager& JobManager::GetInstance() {
  // Statics end in reverse order of creation: let the child-process registry come
  // first, so that it still exists when the manager ends jobs at exit.
  OSUtil::unregisterChildProcess(0);
  static JobManager instance;
  return instance;
}

JobManager::~JobManager() {
  {
    std::lock_guard<std::mutex> guard(wakeupLock_);
    wakeup_ = nullptr;
  }
  for (JobV3* job : alljobs_) {
    if (abandoned_.count(job) == 0) delete job;
  }
  for (JobV3* job : retired_) delete job;
}

namespace {
std::vector<JobV3*> operate(std::vector<JobV3*>& list, std::mutex& lock, const std::string& op, JobV3* job) {
  std::lock_guard<std::mutex> guard(lock);
  if (op == "get") return list;
  if (op == "add") {
    list.push_back(job);
  } else if (op == "remove") {
    const std::string jobID = job->GetJobFile()->GetJobID();
    for (auto it = list.begin(); it != list.end(); ++it) {
      if ((*it)->GetJobFile()->GetJobID() == jobID) {
        list.erase(it);
        break;
      }
    }
  }
  return {};
}

// A failed job's partial file is a whole output that could not take its name: kept.
bool partialIsLeftover(JobFile* record) { return record->GetOutcome() != "failed"; }

// A run cut short by a kill leaves its partial output and its reservation.
bool hasLeftovers(JobFile* record) {
  const std::string output = record->GetOutputFile();
  const std::string jobID = record->GetJobID();
  return (partialIsLeftover(record) &&
          OSUtil::readRegularFile(JobOutput::PartialPath(output, jobID), 0, nullptr) == ReadOutcome::Read) ||
         JobOutput::IsReservedFor(output, jobID);
}
}  // namespace

std::vector<JobV3*> JobManager::OpAllJobs(const std::string& op, JobV3* job) {
  std::lock_guard<std::mutex> guard(alljobsLock_);
  if (op == "get") return alljobs_;
  if (op == "add") {
    alljobs_.push_back(job);
    alljobsByID_.emplace(std::hash<std::string>()(job->GetJobFile()->GetJobID()), job);
  } else if (op == "remove") {
    const std::string jobID = job->GetJobFile()->GetJobID();
    JobV3* first = findLocked(jobID);
    if (first == nullptr) return {};
    auto [from, to] = alljobsByID_.equal_range(std::hash<std::string>()(jobID));
    for (; from != to; ++from) {
      if (from->second == first) {
        alljobsByID_.erase(from);
        break;
      }
    }
    alljobs_.erase(std::find(alljobs_.begin(), alljobs_.end(), first));
  }
  return {};
}

std::vector<JobV3*> JobManager::OpRunningJobs(const std::string& op, JobV3* job) {
  return operate(runningjobs_, runningjobsLock_, op, job);
}

std::vector<JobV3*> JobManager::GetAllJobs() { return OpAllJobs("get", nullptr); }

int JobManager::GetAllJobCount() { return static_cast<int>(GetAllJobs().size()); }

JobV3* JobManager::FindJob(const std::string& jobID) {
  std::lock_guard<std::mutex> guard(alljobsLock_);
  return findLocked(jobID);
}

JobV3* JobManager::findLocked(const std::string& jobID) {
  JobV3* found = nullptr;
  int matches = 0;
  auto [first, last] = alljobsByID_.equal_range(std::hash<std::string>()(jobID));
  for (; first != last; ++first) {
    if (first->second->GetJobFile()->GetJobID() != jobID) continue;
    found = first->second;
    ++matches;
  }
  if (matches < 2) return found;
  // Copied job files name one JobID more than once: the job taken up first.
  for (JobV3* job : alljobs_) {
    if (job->GetJobFile()->GetJobID() == jobID) return job;
  }
  return found;
}

JobV3* JobManager::wrap(JobFile* jobFile) {
  auto* job = new JobV3(jobFile);
  job->SetFinishedCallback([this](const JobFinished& finished) { onFinished(finished); });
  // Small enough to be kept inside the callback: there may be tens of thousands.
  job->SetSaveFailedCallback([this, job](const std::string& reason) {
    onSaveFailed(OSUtil::getFileDir(job->GetJobFile()->GetPath()), reason);
  });
  // The first figure of a run is shown at once, not at the publisher's next cycle.
  job->SetFirstProgressCallback([this] { wake(); });
  return job;
}

JobV3* JobManager::AddJob(JobFile* jobFile) {
  JobV3* job = wrap(jobFile);
  if (jobFile->IsOwnedElsewhere()) {
    std::lock_guard<std::mutex> guard(controlLock_);
    markElsewhereLocked(job);
  } else {
    removeLeftovers(jobFile);
  }
  OpAllJobs("add", job);
  return job;
}

void JobManager::removeLeftovers(JobFile* record) {
  // A job held here (a new one, made by this process) has nothing left over.
  if (record->IsOwnedHere() || !hasLeftovers(record) || !record->TakeOwnership()) return;
  const std::string output = record->GetOutputFile();
  JobOutput::RemoveLeftovers(output, record->GetJobID(), partialIsLeftover(record));
  // A size job's analysis log, in the temporary folder.
  if (record->GetTargetBytes() > 0) PassLogFolder::RemoveLeftovers(record->GetJobID());
  log_info("JobManager, removed what an interrupted run left of:" + output);
  record->ReleaseOwnership();
}

void JobManager::SetJobFolder(const std::string& folder) {
  std::lock_guard<std::mutex> guard(elsewhereLock_);
  folder_ = folder;
}

void JobManager::RemoveOldPlaceholders(const std::vector<JobV3*>& unfinished,
                                       const std::set<std::string>& finishedOutputs) {
  for (JobV3* job : unfinished) {
    JobFile* record = job->GetJobFile();
    const std::string output = record->GetOutputFile();
    if (record->GetIsCompleted() || job->IsElsewhere() || finishedOutputs.count(output) > 0 ||
        OSUtil::isPathTaken(OSUtil::outputReservationPath(output)) || !JobOutput::IsOldPlaceholder(output) ||
        !record->TakeOwnership())
      continue;
    OSUtil::removeFile(output);
    log_info("JobManager, removed the placeholder an earlier version left at:" + output);
    record->ReleaseOwnership();
  }
}

int JobManager::encodingLocked() {
  int count = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    const JobState state = job->GetState();
    count += state == JobState::Starting || state == JobState::Encoding;
  }
  return count;
}

int JobManager::pausedLocked() {
  int count = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) count += job->IsPaused();
  return count;
}

bool JobManager::anyWaitingLocked() {
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    if (job->IsQueueing()) return true;
  }
  return false;
}

JobV3* JobManager::AddAndRunJob(JobFile* jobFile) {
  JobV3* job = wrap(jobFile);
  const JobsElsewhere others = CountJobsElsewhere();
  uint64_t generation = 0;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    OpAllJobs("add", job);
    if (!jobFile->TakeOwnership()) {
      log_info("Error,JobManager::AddAndRunJob,another process owns the job:" + jobFile->GetJobID());
      markElsewhereLocked(job);
      return job;
    }
    startOrQueueLocked(job, others, &generation);
    OpRunningJobs("add", job);
  }
  finishStartOrWake(job, generation);
  return job;
}

bool JobManager::RunJob(const std::string& jobID) {
  JobV3* job = nullptr;
  const JobsElsewhere others = CountJobsElsewhere();
  uint64_t generation = 0;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    job = FindJob(jobID);
    if (job == nullptr) {
      std::cout << "Error,JobManager::RunJob,not find job in alljobs for jobID:" << jobID << std::endl;
      return false;
    }
    // Two encoders on one job would write the same output and the same figures.
    if (JobStateRules::IsActive(job->GetState()) || job->IsElsewhere()) {
      std::cout << "Error,JobManager::RunJob,job is already running or queueing, jobID:" << jobID
                << std::endl;
      return false;
    }
    JobFile* record = job->GetJobFile();
    if (!record->TakeOwnership()) {
      log_info("Error,JobManager::RunJob,another process owns the job:" + jobID);
      markElsewhereLocked(job);
      return false;
    }
    if (!startOrQueueLocked(job, others, &generation)) {
      record->ReleaseOwnership();
      return false;
    }
    // A finished job may still wait to be reported; list it once only, at the end.
    OpRunningJobs("remove", job);
    OpRunningJobs("add", job);
  }
  finishStartOrWake(job, generation);
  return true;
}

bool JobManager::startOrQueueLocked(JobV3* job, const JobsElsewhere& others, uint64_t* generation) {
  const bool start = encodingLocked() == 0 && pausedLocked() == 0 && !anyWaitingLocked() &&
                     others.encoding == 0 && others.waiting == 0 && others.paused == 0;
  if (!job->MoveTo(start ? JobState::Starting : JobState::Waiting)) return false;
  *generation = start ? job->StartGeneration() : 0;
  return true;
}

void JobManager::finishStartOrWake(JobV3* job, uint64_t generation) {
  if (generation != 0) {
    finishStart(job, generation);
  } else {
    wake();
  }
}

void JobManager::RunQueuedJob() {
  JobV3* job = nullptr;
  uint64_t generation = 0;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    // Paused since the publisher looked.
    if (pausedLocked() > 0) return;
    for (JobV3* candidate : OpRunningJobs("get", nullptr)) {
      if (candidate->IsQueueing()) {
        job = candidate;
        break;
      }
    }
    if (job == nullptr || !job->MoveTo(JobState::Starting)) return;
    generation = job->StartGeneration();
  }
  finishStart(job, generation);
}

void JobManager::finishStart(JobV3* job, uint64_t generation) {
  // Making the reservation and the command (whose probe may take up to a minute)
  // happen outside the lock.
  std::string error;
  const bool outputReady = job->PrepareOutput(&error);
  const EncoderRuns runs = !outputReady                  ? EncoderRuns()
                           : job->IsFFmpegCmdGenerated() ? job->GetEncoderRuns()
                                                         : job->MakeEncoderRuns();

  std::lock_guard<std::mutex> guard(controlLock_);
  if (job->GetState() != JobState::Starting || job->StartGeneration() != generation) {
    // Stopped meanwhile: a name reserved for this start goes with it.
    job->DiscardUnusedOutput();
    return;
  }
  if (!outputReady) {
    const JobReason reason{JobReason::kCannotCreate, {job->GetJobFile()->GetOutputFile(), error}};
    job->Fail({reason.English()}, reason);
    return;
  }
  // A publisher asked to end must not leave a new encoder behind; the stop of
  // every job that follows ends this one too.
  if (QThread::currentThread()->isInterruptionRequested()) return;
  job->SetEncoderRuns(runs);
  job->Run();
}

bool JobManager::StopJob(const std::string& jobID) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = FindJob(jobID);
  if (job == nullptr) {
    std::cout << "Error,JobManager::StopJob,not find job in alljobs for jobID:" << jobID << std::endl;
    return false;
  }
  if (job->IsElsewhere()) return false;
  // Off the run list first: a stopped waiting job is never started.
  OpRunningJobs("remove", job);
  if (job->Stop()) return true;
  // Too late: its output is taking its name; it completes and is reported as usual.
  const JobState state = job->GetState();
  if (state == JobState::Encoding || state == JobState::Paused) OpRunningJobs("add", job);
  return false;
}

bool JobManager::PauseJob(const std::string& jobID) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = FindJob(jobID);
  return job != nullptr && !job->IsElsewhere() && job->Pause();
}

bool JobManager::ResumeJob(const std::string& jobID) {
  bool resumed = false;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    JobV3* job = FindJob(jobID);
    resumed = job != nullptr && !job->IsElsewhere() && job->Resume();
  }
  // The queue may move on.
  if (resumed) wake();
  return resumed;
}

int JobManager::PauseAllJobs() {
  std::lock_guard<std::mutex> guard(controlLock_);
  int paused = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    const JobState state = job->GetState();
    if ((state == JobState::Starting || state == JobState::Encoding) && job->Pause()) ++paused;
  }
  return paused;
}

int JobManager::ResumeAllJobs() {
  int resumed = 0;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    for (JobV3* job : OpRunningJobs("get", nullptr)) resumed += job->Resume();
  }
  if (resumed > 0) wake();
  return resumed;
}

bool JobManager::StopAllJobs(int waitMs) {
  std::vector<JobV3*> all;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    all = GetAllJobs();
    for (JobV3* job : all) {
      if (!JobStateRules::IsActive(job->GetState())) continue;
      OpRunningJobs("remove", job);
      job->Stop();
    }
  }
  log_info("JobManager::StopAllJobs, waiting for the encoders to end.");
  bool allEnded = true;
  QElapsedTimer timer;
  timer.start();
  for (JobV3* job : all) {
    const int left = static_cast<int>(std::max<qint64>(0, waitMs - timer.elapsed()));
    if (job->WaitUntilIdle(left)) continue;
    allEnded = false;
    job->AbandonStop();
    std::lock_guard<std::mutex> guard(controlLock_);
    abandoned_.insert(job);
    log_info("Error,JobManager::StopAllJobs,encoder did not end, jobID:" + job->GetJobFile()->GetJobID());
  }
  RetryUnsavedJobs();
  return allEnded;
}

void JobManager::markElsewhereLocked(JobV3* job) {
  if (job->MoveTo(JobState::Elsewhere)) elsewhere_.push_back(job);
}

bool JobManager::setDeleted(const std::string& jobID, bool deleted) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = FindJob(jobID);
  if (job == nullptr || job->IsElsewhere()) return false;
  if (job->SetIsDeleted(deleted)) return true;
  if (job->GetJobFile()->IsOwnedElsewhere()) markElsewhereLocked(job);
  return false;
}

bool JobManager::MoveToRecycleBin(const std::string& jobID) { return setDeleted(jobID, true); }

bool JobManager::RestoreFromRecycleBin(const std::string& jobID) { return setDeleted(jobID, false); }

std::string JobManager::jobFolder() {
  std::lock_guard<std::mutex> guard(elsewhereLock_);
  return folder_.empty() ? get_appjobfile_dir() : folder_;
}

bool JobManager::outputNamedByAnother(const std::string& jobID, const std::string& output) {
  std::set<std::string> known;
  for (JobV3* other : GetAllJobs()) {
    const JobFile* record = other->GetJobFile();
    known.insert(record->GetJobID());
    if (record->GetJobID() != jobID && OSUtil::isSameFile(record->GetOutputFile(), output)) return true;
  }
  // Jobs another process added since this one loaded the folder.
  for (const std::string& path : JobFile::ListJobFiles(jobFolder())) {
    if (known.count(OSUtil::removeExtension(OSUtil::getFileName(path))) > 0) continue;
    JobFile stored;
    try {
      stored.Load(path);
    } catch (const std::string&) {
      continue;
    }
    if (stored.GetJobID() != jobID && OSUtil::isSameFile(stored.GetOutputFile(), output)) return true;
  }
  return false;
}

OutputFate JobManager::outputFate(JobV3* job, bool shared) {
  const JobFile* record = job->GetJobFile();
  const std::string output = record->GetOutputFile();
  if (!OSUtil::isPathTaken(output)) return OutputFate::Missing;
  // Only a completed job made a file at its output name, and only the one it recorded
  // (a job file from an earlier version records none: nothing shows the file is its).
  if (!record->GetIsCompleted()) return OutputFate::NotMadeHere;
  if (shared) return OutputFate::Shared;
  int64_t size = -1, modified = -1, nowSize = -1, nowModified = -1;
  if (!record->GetOutputIdentity(&size, &modified) ||
      !JobOutput::IdentityOf(output, &nowSize, &nowModified) || size != nowSize || modified != nowModified ||
      OSUtil::isSameFile(output, record->GetInputFile()))
    return OutputFate::NotMadeHere;
  return OutputFate::Deletable;
}

OutputFate JobManager::OutputFateOf(const std::string& jobID) {
  JobV3* job = FindJob(jobID);
  if (job == nullptr) return OutputFate::Missing;
  return outputFate(job, outputNamedByAnother(jobID, job->GetJobFile()->GetOutputFile()));
}

TotalDeletion JobManager::TotalDelete(const std::string& jobID, bool deleteOutput) {
  return TotalDelete(jobID, deleteOutput ? OutputDisposal::Trash : OutputDisposal::Keep);
}

TotalDeletion JobManager::TotalDelete(const std::string& jobID, OutputDisposal disposal) {
  TotalDeletion result;
  std::string path;
  JobFile* record = nullptr;
  JobV3* found = FindJob(jobID);
  // Read outside the lock: it may load the job files other processes added.
  const bool shared = disposal != OutputDisposal::Keep && found != nullptr &&
                      outputNamedByAnother(jobID, found->GetJobFile()->GetOutputFile());
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    JobV3* job = FindJob(jobID);
    if (job == nullptr) return result;
    if (!job->IsDeleted()) {
      std::cout << "Only can TotalDelete deleted jobs!" << std::endl;
      return result;
    }
    record = job->GetJobFile();
    if (!record->TakeOwnership()) {
      log_info("Error,JobManager::TotalDelete,another process owns the job, not deleted, jobID:" + jobID);
      markElsewhereLocked(job);
      return result;
    }
    // From here on no thread can write the file again, not even a late one.
    record->MarkRemoved();
    path = record->GetPath();
    result.outputFile = record->GetOutputFile();
    record->GetOutputIdentity(&result.outputSize, &result.outputModified);
    if (disposal != OutputDisposal::Keep) result.output = outputFate(job, shared);
    OpAllJobs("remove", job);
    OpRunningJobs("remove", job);
    retired_.push_back(job);
  }
  result.deleted = true;
  OSUtil::removeFile(path);
  JobOutput::Release(result.outputFile, jobID);
  if (result.output == OutputFate::Deletable) {
    if (disposal == OutputDisposal::Remove) {
      result.output = RemoveOutput(result) ? OutputFate::Removed : OutputFate::NotMadeHere;
    } else {
      const bool trashed = QFile::moveToTrash(to_qstring(result.outputFile));
      result.output = trashed ? OutputFate::Trashed : OutputFate::TrashFailed;
    }
  }
  if (result.output != OutputFate::Kept)
    log_info("JobManager::TotalDelete, jobID:" + jobID +
             ",output fate:" + std::to_string(int(result.output)));
  record->ReleaseOwnership();
  return result;
}

bool JobManager::RemoveOutput(const TotalDeletion& deletion) {
  int64_t size = -1, modified = -1;
  // Still the file the job made: nothing else may go in its place.
  if (deletion.outputSize < 0 || !JobOutput::IdentityOf(deletion.outputFile, &size, &modified) ||
      size != deletion.outputSize || modified != deletion.outputModified)
    return false;
  return OSUtil::removeFile(deletion.outputFile);
}

// --- Counts and reports ---------------------------------------------------------------

int JobManager::GetRunningJobCount() { return static_cast<int>(OpRunningJobs("get", nullptr).size()); }

int JobManager::GetExeJobCount() {
  int count = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) count += job->IsRunning();
  std::cout << "JobManager::GetExeJobCount:" << count << std::endl;
  return count;
}

int JobManager::GetQueueJobCount() {
  int count = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) count += job->IsQueueing();
  std::cout << "JobManager::GetQueueJobCount:" << count << std::endl;
  return count;
}

int JobManager::GetEncodingJobCount() {
  std::lock_guard<std::mutex> guard(controlLock_);
  return encodingLocked();
}

int JobManager::GetPausedJobCount() {
  std::lock_guard<std::mutex> guard(controlLock_);
  return pausedLocked();
}

bool JobManager::IsQueueHeld() { return GetPausedJobCount() > 0 || GetJobsElsewhere().paused > 0; }

JobManager::JobsElsewhere JobManager::CountJobsElsewhere() {
  std::set<std::string> held;
  for (JobV3* job : GetAllJobs()) {
    if (job->GetJobFile()->IsOwnedHere()) held.insert(job->GetJobFile()->GetJobID());
  }
  JobsElsewhere counted;
  const std::string folder = jobFolder();
  // Lock files only exist while jobs are held: a short list whatever the job count.
  const QDir dir(to_qstring(folder), QStringLiteral("*.lock"), QDir::Unsorted,
                 QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : dir.entryList()) {
    const std::string jobID = to_utf8(name.chopped(5));
    if (!JobFile::IsJobID(jobID) || held.count(jobID) > 0) continue;
    const JobOwnership::Holder holder = JobOwnership::ReadHolder(folder, jobID);
    if (!holder.live) continue;
    if (holder.state == JobState::Encoding) ++counted.encoding;
    if (holder.state == JobState::Stopping) ++counted.stopping;
    if (holder.state == JobState::Paused) ++counted.paused;
    if (holder.state == JobState::Waiting) {
      ++counted.waiting;
      if (counted.oldestWaitingSince == 0 || holder.waitingSince < counted.oldestWaitingSince)
        counted.oldestWaitingSince = holder.waitingSince;
    }
  }
  std::lock_guard<std::mutex> guard(elsewhereLock_);
  elsewhereCount_ = counted;
  return counted;
}

JobManager::JobsElsewhere JobManager::GetJobsElsewhere() {
  std::lock_guard<std::mutex> guard(elsewhereLock_);
  return elsewhereCount_;
}

bool JobManager::OursWaitedLongest(const JobsElsewhere& others) {
  if (others.waiting == 0) return true;
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    if (job->IsQueueing()) return job->WaitingSince() <= others.oldestWaitingSince;
  }
  return false;
}

JobsStatus JobManager::GetJobsStatus() {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobsStatus status;
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    JobStatus entry;
    entry.jobID = job->GetJobFile()->GetJobID();
    // The state before the figures, so a job is dropped only after a report of its end.
    entry.state = job->GetState();
    entry.progress = job->GetProgress();
    const TimeLeft left = job->GetTimeLeft();
    entry.leftKind = left.kind;
    entry.timeLeft = left.kind == TimeLeft::Kind::Estimating ? -1 : left.seconds;
    entry.speed = job->GetSpeed();
    entry.rate = job->GetRecentRate();
    entry.duration = job->GetDuration();
    entry.oversizedBytes = job->GetOversizedBytes();
    if (entry.oversizedBytes > 0) entry.targetBytes = job->GetJobFile()->GetTargetBytes();
    // A waiting job has not read its input yet; the probe of the add usually has.
    if (entry.duration <= 0 && entry.state == JobState::Waiting) {
      const std::optional<MediaInfo> input =
          MediaInfoCache::GetInstance().Cached(job->GetJobFile()->GetInputFile());
      if (input && std::isfinite(input->overallDuration.AsDouble()) && input->overallDuration.AsDouble() > 0)
        entry.duration = input->overallDuration.AsDouble();
    }
    status.push_back(entry);
    // A finished job is reported once; nothing inactive stays listed.
    if (!JobStateRules::IsActive(entry.state)) OpRunningJobs("remove", job);
  }
  for (JobV3* job : elsewhere_) {
    JobStatus entry;
    entry.jobID = job->GetJobFile()->GetJobID();
    entry.state = JobState::Elsewhere;
    status.push_back(entry);
  }
  return status;
}

std::string JobManager::GetJobsProgress() { return JobsProgressText(GetJobsStatus()); }

std::string JobManager::JobsProgressText(const JobsStatus& status) {
  return ProgressSnapshotText::Write(status);
}

std::map<std::string, std::pair<std::string, std::string>> JobManager::ParseJobsProgress(
    const std::string& snapshot) {
  return ProgressSnapshotText::Read(snapshot);
}

void JobManager::PollElsewhere() {
  std::vector<JobV3*> jobs;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    jobs = elsewhere_;
  }
  for (JobV3* job : jobs) {
    if (job->GetJobFile()->IsOwnedElsewhere() || !job->AdoptStoredState()) continue;
    // A process that died mid-run left what a restart would clear.
    removeLeftovers(job->GetJobFile());
    std::lock_guard<std::mutex> guard(controlLock_);
    elsewhere_.erase(std::remove(elsewhere_.begin(), elsewhere_.end(), job), elsewhere_.end());
  }
}

// --- Events -------------------------------------------------------------------------

void JobManager::SetWakeup(std::function<void()> wakeup) {
  std::lock_guard<std::mutex> guard(wakeupLock_);
  wakeup_ = std::move(wakeup);
}

void JobManager::wake() {
  std::lock_guard<std::mutex> guard(wakeupLock_);
  if (wakeup_) wakeup_();
}

void JobManager::onFinished(const JobFinished& finished) {
  {
    std::lock_guard<std::mutex> guard(eventsLock_);
    finished_.push_back(finished);
  }
  wake();
}

std::vector<JobFinished> JobManager::TakeFinishedJobs() {
  std::lock_guard<std::mutex> guard(eventsLock_);
  std::vector<JobFinished> taken;
  taken.swap(finished_);
  return taken;
}

void JobManager::onSaveFailed(const std::string& folder, const std::string& reason) {
  std::lock_guard<std::mutex> guard(eventsLock_);
  if (saveFailure_.empty()) saveFailure_ = folder + ": " + reason;
}

bool JobManager::TakeSaveFailure(std::string* message) {
  std::lock_guard<std::mutex> guard(eventsLock_);
  if (saveFailure_.empty() || saveFailureTaken_) return false;
  saveFailureTaken_ = true;
  *message = saveFailure_;
  return true;
}

int JobManager::RetryUnsavedJobs() {
  int unsaved = 0;
  for (JobV3* job : GetAllJobs()) unsaved += !job->RetrySave();
  if (unsaved > 0) log_info("Error,JobManager::RetryUnsavedJobs, still unsaved:" + std::to_string(unsaved));
  return unsaved;
}

// --- Start-up loading -------------------------------------------------------------------

std::vector<JobV3*> JobManager::LoadStoredJobs() { return LoadStoredJobs(get_appjobfile_dir()); }

std::vector<JobV3*> JobManager::LoadStoredJobs(const std::string& folder) {
  SetJobFolder(folder);
  std::vector<JobV3*> loaded;
  for (std::unique_ptr<JobFile>& record : StoredJobLoader::ReadRecords(folder))
    loaded.push_back(AddJob(record.release()));
  std::vector<JobV3*> unfinished;
  std::set<std::string> finishedOutputs;
  for (JobV3* job : loaded) {
    if (job->GetJobFile()->GetIsCompleted()) {
      finishedOutputs.insert(job->GetJobFile()->GetOutputFile());
    } else {
      unfinished.push_back(job);
    }
  }
  RemoveOldPlaceholders(unfinished, finishedOutputs);
  return loaded;
}

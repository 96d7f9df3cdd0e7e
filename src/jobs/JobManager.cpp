#include "jobs/JobManager.h"

#include <QFile>
#include <QTextStream>
#include <QThread>
#include <iostream>

#include "Util/LogUtil.h"
#include "Util/OSUtil.h"

JobManager& JobManager::GetInstance() {
  // Statics end in reverse order of creation: let the child-process registry come
  // first, so that it still exists when the manager ends jobs at exit.
  OSUtil::unregisterChildProcess(0);
  static JobManager instance;
  return instance;
}

JobManager::~JobManager() {
  for (JobV3* job : alljobs_) delete job;
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
}  // namespace

std::vector<JobV3*> JobManager::OpAllJobs(const std::string& op, JobV3* job) {
  return operate(alljobs_, alljobsLock_, op, job);
}

std::vector<JobV3*> JobManager::OpRunningJobs(const std::string& op, JobV3* job) {
  return operate(runningjobs_, runningjobsLock_, op, job);
}

std::vector<JobV3*> JobManager::GetAllJobs() { return OpAllJobs("get", nullptr); }

int JobManager::GetAllJobCount() { return static_cast<int>(GetAllJobs().size()); }

JobV3* JobManager::FindJob(const std::string& jobID) {
  for (JobV3* job : GetAllJobs()) {
    if (job->GetJobFile()->GetJobID() == jobID) return job;
  }
  return nullptr;
}

JobV3* JobManager::AddJob(JobFile* jobFile) {
  JobV3* job = new JobV3(jobFile);
  OpAllJobs("add", job);
  return job;
}

void JobManager::queue(JobV3* job) {
  job->SetIsQueueing(true);
  job->SetIsRunning(false);
  job->SetIsStopped(false);
  // A finished job that waits again is not finished: the snapshot would drop it
  // from the run list and it would never start.
  job->SetIsCompleted(false);
}

void JobManager::writePlaceholder(const std::string& path) {
  QFile file(QString::fromUtf8(path.c_str()));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
    std::cout << "Open file failed:" << path << std::endl;
    return;
  }
  QTextStream stream(&file);
  stream << QString() << Qt::endl;
}

int JobManager::executingLocked() {
  int count = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) count += job->IsRunning();
  for (const auto& claim : claims_) count += claim.second.startsNow;
  return count;
}

bool JobManager::isBusyLocked(JobV3* job) {
  return job->IsRunning() || job->IsQueueing() || job->IsStopping() || claims_.count(job) != 0;
}

uint64_t JobManager::claimLocked(JobV3* job, bool startsNow) {
  Claim claim;
  claim.id = ++lastClaimID_;
  claim.startsNow = startsNow;
  claims_[job] = claim;
  return claim.id;
}

void JobManager::finishClaim(JobV3* job, uint64_t claimID, bool start) {
  // The probe behind the command may take up to a minute: no lock here.
  const std::string command = job->MakeFFmpegCmd();
  std::lock_guard<std::mutex> guard(controlLock_);
  const auto claim = claims_.find(job);
  if (claim == claims_.end() || claim->second.id != claimID) return;  // stopped meanwhile
  claims_.erase(claim);
  // A publisher asked to end must not leave a new encoder behind.
  if (start && QThread::currentThread()->isInterruptionRequested()) return;
  job->SetFFmpegCmd(command);
  if (!start) return;
  job->Run();
  job->SetIsQueueing(false);
  OpRunningJobs("remove", job);
  OpRunningJobs("add", job);
}

JobV3* JobManager::AddAndRunJob(JobFile* jobFile) {
  JobV3* job = new JobV3(jobFile);
  uint64_t claimID = 0;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    OpAllJobs("add", job);
    if (executingLocked() != 0) {
      queue(job);
      // Takes the output name while the job waits; before the publisher can start it.
      writePlaceholder(jobFile->GetOutputFile());
      OpRunningJobs("add", job);
    } else if (job->IsFFmpegCmdGenerated()) {
      job->Run();
      OpRunningJobs("add", job);
    } else {
      // Listed once it starts, so no snapshot reports it before.
      claimID = claimLocked(job, true);
    }
  }
  if (claimID != 0) finishClaim(job, claimID, true);
  return job;
}

void JobManager::RunJob(const std::string& jobID) {
  JobV3* job = nullptr;
  uint64_t claimID = 0;
  bool start = false;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    job = FindJob(jobID);
    if (job == nullptr) {
      std::cout << "Error,JobManager::RunJob,not find job in alljobs for jobID:" << jobID << std::endl;
      return;
    }
    // Two encoders on one job would write the same output and the same figures.
    if (isBusyLocked(job)) {
      std::cout << "Error,JobManager::RunJob,job is already running or queueing, jobID:" << jobID
                << std::endl;
      return;
    }
    start = executingLocked() == 0;
    if (!start) queue(job);
    if (!job->IsFFmpegCmdGenerated()) {
      // Queued: the command is built now, the publisher starts it later.
      claimID = claimLocked(job, start);
    } else if (start) {
      job->Run();
    }
    // A finished job may still wait to be reported; list it once only.
    OpRunningJobs("remove", job);
    if (claimID == 0 || !start) OpRunningJobs("add", job);
  }
  if (claimID != 0) finishClaim(job, claimID, start);
}

void JobManager::RunQueuedJob() {
  JobV3* job = nullptr;
  uint64_t claimID = 0;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    for (JobV3* candidate : OpRunningJobs("get", nullptr)) {
      if (!candidate->IsQueueing() || candidate->IsStopping() || claims_.count(candidate) != 0) continue;
      job = candidate;
      break;
    }
    if (job == nullptr) return;
    if (job->IsFFmpegCmdGenerated()) {
      job->Run();
      job->SetIsQueueing(false);
      return;
    }
    // Stays queued (and stoppable) while its command is built.
    claimID = claimLocked(job, false);
  }
  finishClaim(job, claimID, true);
}

void JobManager::StopJob(const std::string& jobID) {
  JobV3* job = nullptr;
  bool stopping = false;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    job = FindJob(jobID);
    if (job == nullptr) {
      std::cout << "Error,JobManager::StopJob,not find job in alljobs for jobID:" << jobID << std::endl;
      return;
    }
    OpRunningJobs("remove", job);
    claims_.erase(job);
    stopping = job->BeginStop();
  }
  // Killing the encoder and waiting for its thread happen outside the lock.
  if (stopping) job->FinishStop();
}

void JobManager::StopAllJobs() {
  std::vector<JobV3*> stopping;
  std::vector<JobV3*> all;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    all = GetAllJobs();
    for (JobV3* job : all) {
      if (!isBusyLocked(job)) continue;
      OpRunningJobs("remove", job);
      claims_.erase(job);
      if (job->BeginStop()) stopping.push_back(job);
    }
  }
  log_info("JobManager::StopAllJobs, stopping " + std::to_string(stopping.size()) + " jobs.");
  for (JobV3* job : stopping) job->FinishStop();
  // Stops begun elsewhere, and threads of runs that ended by themselves.
  for (JobV3* job : all) {
    while (job->IsStopping()) OSUtil::sleepMs(10);
    job->ReapEncoderThread();
  }
}

void JobManager::TotalDelete(const std::string& jobID, bool deleteOutput) {
  std::string path;
  std::string output;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    JobV3* job = FindJob(jobID);
    if (job == nullptr) return;
    if (!job->IsDeleted()) {
      std::cout << "Only can TotalDelete deleted jobs!" << std::endl;
      return;
    }
    if (isBusyLocked(job)) {
      log_info("Error,JobManager::TotalDelete,job is running or queueing, not deleted, jobID:" + jobID);
      return;
    }
    JobFile* record = job->GetJobFile();
    // From here on no thread can write the file again, not even a late one.
    record->MarkRemoved();
    path = record->GetPath();
    output = record->GetOutputFile();
    OpAllJobs("remove", job);
    OpRunningJobs("remove", job);
    retired_.push_back(job);
  }
  OSUtil::removeFile(path);
  if (deleteOutput && OSUtil::isFileExist(output)) OSUtil::removeFile(output);
}

int JobManager::GetRunningJobCount() { return static_cast<int>(OpRunningJobs("get", nullptr).size()); }

int JobManager::countRunning(bool (JobV3::*flag)() const, const char* label) {
  int count = 0;
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    if ((job->*flag)()) ++count;
  }
  std::cout << label << count << std::endl;
  return count;
}

int JobManager::GetExeJobCount() { return countRunning(&JobV3::IsRunning, "JobManager::GetExeJobCount:"); }

int JobManager::GetQueueJobCount() {
  return countRunning(&JobV3::IsQueueing, "JobManager::GetQueueJobCount:");
}

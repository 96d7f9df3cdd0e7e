#include "jobs/JobManager.h"

#include <QFile>
#include <QTextStream>
#include <iostream>

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

void JobManager::generateCmdIfNeeded(JobV3* job) {
  if (!job->IsFFmpegCmdGenerated()) job->GenerateFFmpegCmd();
}

void JobManager::queue(JobV3* job) {
  job->SetIsQueueing(true);
  job->SetIsRunning(false);
  job->SetIsStopped(false);
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

JobV3* JobManager::AddAndRunJob(JobFile* jobFile) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = new JobV3(jobFile);
  OpAllJobs("add", job);
  if (GetExeJobCount() != 0) {
    queue(job);
    // Takes the output name while the job waits.
    writePlaceholder(jobFile->GetOutputFile());
  } else {
    generateCmdIfNeeded(job);
    job->Run();
  }
  OpRunningJobs("add", job);
  return job;
}

void JobManager::RunJob(const std::string& jobID) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = FindJob(jobID);
  if (job == nullptr) {
    std::cout << "Error,JobManager::RunJob,not find job in alljobs for jobID:" << jobID << std::endl;
    return;
  }
  // Two encoders on one job would write the same output and the same figures.
  if (job->IsRunning() || job->IsQueueing()) {
    std::cout << "Error,JobManager::RunJob,job is already running or queueing, jobID:" << jobID << std::endl;
    return;
  }
  generateCmdIfNeeded(job);
  if (GetExeJobCount() != 0) {
    queue(job);
  } else {
    job->Run();
  }
  // A finished job may still wait to be reported; list it once only.
  OpRunningJobs("remove", job);
  OpRunningJobs("add", job);
}

void JobManager::RunQueuedJob() {
  std::lock_guard<std::mutex> guard(controlLock_);
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    if (!job->IsQueueing()) continue;
    generateCmdIfNeeded(job);
    job->Run();
    job->SetIsQueueing(false);
    return;
  }
}

void JobManager::StopJob(const std::string& jobID) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = FindJob(jobID);
  if (job == nullptr) {
    std::cout << "Error,JobManager::StopJob,not find job in alljobs for jobID:" << jobID << std::endl;
    return;
  }
  OpRunningJobs("remove", job);
  job->Stop();
}

void JobManager::TotalDelete(const std::string& jobID, bool deleteOutput) {
  std::lock_guard<std::mutex> guard(controlLock_);
  JobV3* job = FindJob(jobID);
  if (job == nullptr) return;
  if (!job->IsDeleted()) {
    std::cout << "Only can TotalDelete deleted jobs!" << std::endl;
    return;
  }
  JobFile* record = job->GetJobFile();
  OSUtil::removeFile(record->GetPath());
  if (deleteOutput && OSUtil::isFileExist(record->GetOutputFile())) {
    OSUtil::removeFile(record->GetOutputFile());
  }
  OpAllJobs("remove", job);
  OpRunningJobs("remove", job);
  delete job;
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

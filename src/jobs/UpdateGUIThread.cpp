#include "jobs/UpdateGUIThread.h"

#include <iostream>
#include <mutex>

#include "Util/OSUtil.h"
#include "jobs/JobManager.h"

namespace {
// Highest load at which a queued job may still start.
constexpr int kMaxLoadToStartQueued = 79;
constexpr int kHalfCycleMs = 500;

std::mutex& samplerLock() {
  static std::mutex lock;
  return lock;
}

std::function<int(int)>& sampler() {
  static std::function<int(int)> function = &OSUtil::getCpuUsage;
  return function;
}
}  // namespace

UpdateGUIThread::UpdateGUIThread(QObject* parent) : UpdateGUIThread(JobManager::GetInstance(), parent) {}

UpdateGUIThread::UpdateGUIThread(JobManager& manager, QObject* parent) : QThread(parent), manager_(manager) {}

void UpdateGUIThread::setLoadSampler(std::function<int(int ms)> function) {
  std::lock_guard<std::mutex> guard(samplerLock());
  sampler() = function ? std::move(function) : std::function<int(int)>(&OSUtil::getCpuUsage);
}

int UpdateGUIThread::sampleLoad(int ms) {
  std::function<int(int)> function;
  {
    std::lock_guard<std::mutex> guard(samplerLock());
    function = sampler();
  }
  return function(ms);
}

void UpdateGUIThread::run() {
  std::cout << "UpdateGUIThread::run begin." << std::endl;
  while (!isInterruptionRequested()) {
    std::cout << "UpdateGUIThread::run while(true),begin." << std::endl;
    if (manager_.GetRunningJobCount() >= 1) {
      std::cout << "UpdateGUIThread::run,emit signal_transcode_progress_update" << std::endl;
      const std::string snapshot = manager_.GetJobsProgress();
      std::cout << "UpdateGUIThread::run,jobsProgress:" << snapshot << std::endl;
      emit signal_transcode_progress_update(QString::fromUtf8(snapshot.c_str()));
    }
    if (manager_.GetQueueJobCount() > 0) {
      std::cout << "UpdateGUIThread::run,calling queue job." << std::endl;
      // The measurement doubles as the first half of the cycle's wait.
      const int load = sampleLoad(kHalfCycleMs);
      if (load <= kMaxLoadToStartQueued) manager_.RunQueuedJob();
      msleep(kHalfCycleMs);
    } else {
      msleep(kHalfCycleMs);
      msleep(kHalfCycleMs);
    }
    std::cout << "UpdateGUIThread::run while(true),end." << std::endl;
  }
}

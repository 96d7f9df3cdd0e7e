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

// Empty: the real sampler, which the publisher runs itself so a stop can cut it short.
std::function<int(int)>& sampler() {
  static std::function<int(int)> function;
  return function;
}
}  // namespace

UpdateGUIThread::UpdateGUIThread(QObject* parent) : UpdateGUIThread(JobManager::GetInstance(), parent) {}

UpdateGUIThread::UpdateGUIThread(JobManager& manager, QObject* parent) : QThread(parent), manager_(manager) {}

UpdateGUIThread::~UpdateGUIThread() { Stop(); }

void UpdateGUIThread::Stop() {
  {
    std::lock_guard<std::mutex> guard(wakeLock_);
    stopping_ = true;
  }
  requestInterruption();
  wake_.notify_all();
  // From its own thread (a direct connection) it can only ask.
  if (QThread::currentThread() != this) wait();
}

bool UpdateGUIThread::stopping() {
  std::lock_guard<std::mutex> guard(wakeLock_);
  return stopping_ || isInterruptionRequested();
}

bool UpdateGUIThread::pause(int ms) {
  std::unique_lock<std::mutex> guard(wakeLock_);
  return !wake_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void UpdateGUIThread::setLoadSampler(std::function<int(int ms)> function) {
  std::lock_guard<std::mutex> guard(samplerLock());
  sampler() = std::move(function);
}

int UpdateGUIThread::sampleLoad(int ms) {
  std::function<int(int)> function;
  {
    std::lock_guard<std::mutex> guard(samplerLock());
    function = sampler();
  }
  if (function) return function(ms);
  const OSUtil::CpuReading before = OSUtil::readCpuCounters();
  pause(ms);
  return OSUtil::getCpuUsageBetween(before, OSUtil::readCpuCounters());
}

void UpdateGUIThread::run() {
  std::cout << "UpdateGUIThread::run begin." << std::endl;
  while (!stopping()) {
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
      if (stopping()) break;
      if (load <= kMaxLoadToStartQueued) manager_.RunQueuedJob();
      pause(kHalfCycleMs);
    } else {
      pause(2 * kHalfCycleMs);
    }
    std::cout << "UpdateGUIThread::run while(true),end." << std::endl;
  }
}

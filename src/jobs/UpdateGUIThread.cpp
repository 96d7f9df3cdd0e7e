#include "jobs/UpdateGUIThread.h"

#include <atomic>
#include <iostream>
#include <mutex>

#include "jobs/JobManager.h"
#include "platform/OSUtil.h"

namespace {
// Highest load at which a further queued job may start beside a running one.
constexpr int kMaxLoadToStartQueued = 79;
constexpr int kUsualCycleMs = 1000;
std::atomic<int> g_cycleMs{kUsualCycleMs};

int halfCycleMs() { return g_cycleMs / 2; }

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

UpdateGUIThread::UpdateGUIThread(JobManager& manager, QObject* parent) : QThread(parent), manager_(manager) {
  qRegisterMetaType<JobsStatus>("JobsStatus");
  qRegisterMetaType<JobFinished>("JobFinished");
  manager_.SetWakeup([this] { wakeUp(); });
}

UpdateGUIThread::~UpdateGUIThread() { Stop(); }

void UpdateGUIThread::Stop() {
  bool firstStop = false;
  {
    std::lock_guard<std::mutex> guard(wakeLock_);
    firstStop = !stopping_;
    stopping_ = true;
  }
  // While the manager surely lives: a stopped publisher may be deleted after it.
  if (firstStop) manager_.SetWakeup(nullptr);
  requestInterruption();
  wake_.notify_all();
  // From its own thread (a direct connection) it can only ask.
  if (QThread::currentThread() != this) wait();
}

bool UpdateGUIThread::stopping() {
  std::lock_guard<std::mutex> guard(wakeLock_);
  return stopping_ || isInterruptionRequested();
}

void UpdateGUIThread::wakeUp() {
  {
    std::lock_guard<std::mutex> guard(wakeLock_);
    woken_ = true;
  }
  wake_.notify_all();
}

bool UpdateGUIThread::pause(int ms) {
  std::unique_lock<std::mutex> guard(wakeLock_);
  wake_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return stopping_ || woken_; });
  woken_ = false;
  return !stopping_;
}

void UpdateGUIThread::setLoadSampler(std::function<int(int ms)> function) {
  std::lock_guard<std::mutex> guard(samplerLock());
  sampler() = std::move(function);
}

void UpdateGUIThread::setCycleMs(int ms) { g_cycleMs = ms > 0 ? ms : kUsualCycleMs; }

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

void UpdateGUIThread::publish() {
  // Ends first: the snapshot that follows may still list a finished job once.
  for (const JobFinished& finished : manager_.TakeFinishedJobs()) emit signal_job_finished(finished);
  manager_.PollElsewhere();
  // Other processes' jobs count for the run slots and for the front end's keep-awake
  // and shutdown, which hear of their end through the snapshots.
  const bool others = manager_.CountJobsElsewhere().Active() > 0;
  // One snapshot more once the last job has left the run list (stopped, deleted), so
  // that nothing shown from the one before stays: the window's figure, its task bar.
  const bool jobs = manager_.GetRunningJobCount() >= 1 || others;
  const bool lastLeft = !jobs && publishedJobs_;
  publishedJobs_ = jobs;
  if (jobs || lastLeft) {
    std::cout << "UpdateGUIThread::run,emit signal_transcode_progress_update" << std::endl;
    const JobsStatus status = manager_.GetJobsStatus();
    emit signal_jobs_status(status);
    const std::string snapshot = JobManager::JobsProgressText(status);
    std::cout << "UpdateGUIThread::run,jobsProgress:" << snapshot << std::endl;
    emit signal_transcode_progress_update(QString::fromUtf8(snapshot.c_str()));
  }
  std::string saveFailure;
  if (manager_.TakeSaveFailure(&saveFailure)) emit signal_save_failed(QString::fromUtf8(saveFailure.c_str()));
}

void UpdateGUIThread::run() {
  std::cout << "UpdateGUIThread::run begin." << std::endl;
  while (!stopping()) {
    std::cout << "UpdateGUIThread::run while(true),begin." << std::endl;
    publish();
    // While a job is paused, here or in another Kovadle, none of the waiting starts.
    if (manager_.GetQueueJobCount() > 0 && !manager_.IsQueueHeld()) {
      std::cout << "UpdateGUIThread::run,calling queue job." << std::endl;
      const JobManager::JobsElsewhere others = manager_.GetJobsElsewhere();
      if (manager_.GetEncodingJobCount() + others.encoding == 0) {
        // No Kovadle job encodes: a machine busy with other work must not hold the
        // queue, so the oldest waiting job of all starts whatever the load.
        if (manager_.OursWaitedLongest(others)) manager_.RunQueuedJob();
        pause(2 * halfCycleMs());
      } else {
        // The measurement doubles as the first half of the cycle's wait.
        const int load = sampleLoad(halfCycleMs());
        if (stopping()) break;
        if (load <= kMaxLoadToStartQueued) manager_.RunQueuedJob();
        pause(halfCycleMs());
      }
    } else {
      pause(2 * halfCycleMs());
    }
    std::cout << "UpdateGUIThread::run while(true),end." << std::endl;
  }
}

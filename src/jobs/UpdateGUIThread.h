#pragma once

#include <QMetaType>
#include <QString>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "jobs/JobFinished.h"
#include "jobs/JobStatus.h"

class JobManager;

// Once a second: hands the front ends the typed snapshot of the submitted jobs (and
// the same as the progress snapshot text; also while only other Kovadle processes
// run jobs), the runs that ended, and starts waiting jobs: the oldest of every
// Kovadle process at once when no Kovadle job encodes, another beside a running one
// while the processor load over half a second is below 80%; none while any Kovadle
// job is paused. A run that ends, a job that starts waiting or is resumed wakes it
// early, and so does the first progress line of a run, so its first figure shows at
// once. Runs until Stop() (or an interruption
// request); its owner stops it before the job manager goes.
class UpdateGUIThread : public QThread {
  Q_OBJECT

 public:
  // Works for JobManager::GetInstance().
  explicit UpdateGUIThread(QObject* parent = nullptr);
  explicit UpdateGUIThread(JobManager& manager, QObject* parent = nullptr);
  // Stops the thread first: a QThread must not be destroyed while it runs.
  ~UpdateGUIThread() override;

  // Asks the thread to end, wakes it from its waits at once, and returns once it
  // has ended. A queued job is not started after this. For good: no restart.
  void Stop();

  // Replaces the processor-load sampler (percent over the given milliseconds, which
  // it is expected to take); an empty function restores the real one.
  static void setLoadSampler(std::function<int(int ms)> sampler);
  // Replaces the cycle's length (tests); 0 restores the usual second.
  static void setCycleMs(int ms);

 signals:
  void signal_transcode_progress_update(QString progress_info);
  void signal_jobs_status(JobsStatus status);
  void signal_job_finished(JobFinished finished);
  // A job file could not be written: "folder: reason", once per program run.
  void signal_save_failed(QString message);

 protected:
  void run() override;

 private:
  // Waits ms milliseconds; false when a stop cut the wait short. A wake-up ends it
  // early too.
  bool pause(int ms);
  void wakeUp();
  // Load over ms milliseconds, measured while waiting interruptibly.
  int sampleLoad(int ms);
  bool stopping();
  void publish();

  JobManager& manager_;
  std::mutex wakeLock_;
  std::condition_variable wake_;
  bool stopping_ = false;  // under wakeLock_
  bool woken_ = false;     // under wakeLock_
  // The last snapshot listed jobs; only the publisher's thread reads or writes it.
  bool publishedJobs_ = false;
};

Q_DECLARE_METATYPE(JobsStatus)
Q_DECLARE_METATYPE(JobFinished)

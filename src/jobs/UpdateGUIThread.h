#pragma once

#include <QString>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <mutex>

class JobManager;

// Once a second: publishes the progress snapshot of the submitted jobs and, while
// jobs wait and the processor load over half a second is below 80%, starts the
// next queued job. Runs until Stop() (or an interruption request); its owner
// stops it before the job manager goes.
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

 signals:
  void signal_transcode_progress_update(QString progress_info);

 protected:
  void run() override;

 private:
  // Waits ms milliseconds; false when a stop cut the wait short.
  bool pause(int ms);
  // Load over ms milliseconds, measured while waiting interruptibly.
  int sampleLoad(int ms);
  bool stopping();

  JobManager& manager_;
  std::mutex wakeLock_;
  std::condition_variable wake_;
  bool stopping_ = false;  // under wakeLock_
};

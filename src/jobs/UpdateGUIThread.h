#pragma once

#include <QString>
#include <QThread>
#include <functional>

class JobManager;

// Once a second: publishes the progress snapshot of the submitted jobs and, while
// jobs wait and the processor load over half a second is below 80%, starts the
// next queued job. Runs until the process ends (or an interruption is requested).
class UpdateGUIThread : public QThread {
  Q_OBJECT

 public:
  // Works for JobManager::GetInstance().
  explicit UpdateGUIThread(QObject* parent = nullptr);
  explicit UpdateGUIThread(JobManager& manager, QObject* parent = nullptr);

  // Replaces the processor-load sampler (percent over the given milliseconds, which
  // it is expected to take); an empty function restores the real one.
  static void setLoadSampler(std::function<int(int ms)> sampler);

 signals:
  void signal_transcode_progress_update(QString progress_info);

 protected:
  void run() override;

 private:
  static int sampleLoad(int ms);

  JobManager& manager_;
};

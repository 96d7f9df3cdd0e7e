#pragma once

#include <QDateTime>
#include <QDir>
#include <QThread>
#include <functional>

#include "Util/AppConstants.h"
#include "jobs/JobV3.h"
#include "support/ProcessState.h"

// Empties the job-file folder, so each test sees only its own jobs.
inline void clear_job_folder() {
  QDir folder(QString::fromStdString(get_appjobfile_dir()));
  for (const QString& name : folder.entryList(QDir::Files)) folder.remove(name);
}

inline JobFile* new_record(const std::string& input, const std::string& output) {
  auto* record = new JobFile;
  record->Init(input, output, "95", "h264", ".mp4");
  return record;
}

inline std::string id_of(JobV3* job) { return job->GetJobFile()->GetJobID(); }

// The job's record as a restarted program would read it.
inline std::unique_ptr<JobFile> reload(JobV3* job) {
  auto copy = std::make_unique<JobFile>();
  copy->Load(job->GetJobFile()->GetPath());
  return copy;
}

inline bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms && !condition(); waited += 10) QThread::msleep(10);
  return condition();
}

inline void set_mtime(const std::string& path, int seconds_from_now) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(seconds_from_now), QFileDevice::FileModificationTime);
}

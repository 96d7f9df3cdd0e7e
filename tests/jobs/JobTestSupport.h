#pragma once

#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <functional>

#include "Util/AppConstants.h"
#include "jobs/JobV3.h"

// Empties the job-file folder, so each test sees only its own jobs.
inline void clear_job_folder() {
  QDir folder(QString::fromStdString(get_appjobfile_dir()));
  for (const QString& name : folder.entryList(QDir::Files | QDir::System | QDir::Hidden)) folder.remove(name);
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

// True when no process (not even a zombie) has this number any more.
inline bool process_gone(int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }

// True when the process no longer runs. An orphan may stay a zombie here, where
// nothing reaps what the killed parent left behind.
inline bool process_ended(int64_t pid) {
  if (process_gone(pid)) return true;
  QFile stat(QString("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return true;
  const QByteArray text = stat.readAll();
  const int close = text.lastIndexOf(')');
  return close > 0 && close + 2 < text.size() && (text[close + 2] == 'Z' || text[close + 2] == 'X');
}

inline void set_mtime(const std::string& path, int seconds_from_now) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(seconds_from_now), QFileDevice::FileModificationTime);
}

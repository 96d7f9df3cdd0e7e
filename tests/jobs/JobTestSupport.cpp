#include "jobs/JobTestSupport.h"

#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QThread>
#include <cerrno>

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "Util/OSUtil.h"
#include "jobs/JobFile.h"
#include "jobs/JobV3.h"

void clear_job_folder() {
  QDir folder(QString::fromStdString(get_appjobfile_dir()));
  for (const QString& name : folder.entryList(QDir::Files)) folder.remove(name);
}

JobFile* new_record(const std::string& input, const std::string& output, const std::string& quality) {
  auto* record = new JobFile;
  const size_t dot = output.rfind('.');
  record->Init(input, output, quality, "h264", dot == std::string::npos ? "" : output.substr(dot));
  return record;
}

std::string id_of(JobV3* job) { return job->GetJobFile()->GetJobID(); }

bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 10) {
    if (condition()) return true;
    QThread::msleep(10);
  }
  return condition();
}

std::string encoder_path() {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"), "encoder");
}

bool process_gone(int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }

void set_mtime(const std::string& path, int seconds_from_now) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(seconds_from_now), QFileDevice::FileModificationTime);
}

std::string read_program_logs() {
  flush_logs();
  std::string all;
  QDir folder(QString::fromStdString(get_applogs_dir()));
  for (const QString& name : folder.entryList(QDir::Files)) {
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::ReadOnly)) all += file.readAll().toStdString();
  }
  return all;
}

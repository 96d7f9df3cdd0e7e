#include "StoredJobFiles.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "platform/OSUtil.h"
#include "text/SimpleJson.h"

void write_job_files(const std::string& folder, const std::vector<StoredJobFile>& jobs) {
  QDir().mkpath(QString::fromStdString(folder));
  const QDateTime first = QDateTime::currentDateTime().addSecs(-static_cast<qint64>(jobs.size()) - 60);
  qint64 second = 0;
  for (const StoredJobFile& job : jobs) {
    using Kind = StoredJobFile::Kind;
    const bool completed = job.kind == Kind::Completed || job.kind == Kind::DeletedCompleted;
    const bool deleted = job.kind == Kind::DeletedCompleted || job.kind == Kind::DeletedStopped;
    const bool stopped =
        job.kind == Kind::Stopped || job.kind == Kind::Failed || job.kind == Kind::DeletedStopped;
    SimpleJson json;
    json.parse("{}");
    json.set("JobID", job.jobID);
    json.set("GeneratedTime", "2023-05-01 12:00:00");
    json.set("InputFile", job.input);
    json.set("OutputFile", job.output);
    json.set("Quality", "95");
    json.set("OutputCodec", "h264");
    json.set("OutputFormat", OSUtil::getFileExtension(job.output));
    json.set("IsCompleted", completed ? "true" : "false");
    json.set("IsDeleted", deleted ? "true" : "false");
    json.set("IsStopped", stopped ? "true" : "false");
    json.set("Outcome", job.kind == Kind::Failed ? "failed"
                        : completed              ? "completed"
                        : stopped                ? "stopped"
                                                 : "");
    json.set("ErrorLines", job.kind == Kind::Failed ? "No space left on device" : "");
    const std::string path = OSUtil::pathJoin(folder, job.jobID + ".jobfile");
    QFile file(QString::fromStdString(path));
    const std::string text = json.to_string();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.flush() ||
        !file.setFileTime(first.addSecs(second++), QFileDevice::FileModificationTime))
      ADD_FAILURE() << "cannot write " << path;
  }
}

std::string numbered_job_id(int n) {
  char id[40];
  std::snprintf(id, sizeof id, "%08x-0000-4000-8000-%012x", n, n);
  return id;
}

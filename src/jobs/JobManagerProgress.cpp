// The progress snapshot the publisher sends to the window, and its reader.
#include <QObject>

#include "Util/SimpleJson.h"
#include "Util/StringUtil.h"
#include "jobs/JobManager.h"

namespace {
// The texts are marked here so the translation tools find them under QObject.
const char* const kQueueing = QT_TRANSLATE_NOOP("QObject", "queueing");
const char* const kFailed = QT_TRANSLATE_NOOP("QObject", "Failed");

std::string translated(const char* text) { return QObject::tr(text).toUtf8().toStdString(); }
}  // namespace

std::string JobManager::GetJobsProgress() {
  std::lock_guard<std::mutex> guard(controlLock_);
  std::map<std::string, std::string> entries;
  for (JobV3* job : OpRunningJobs("get", nullptr)) {
    // Read before the figures, so a job is dropped only after a report of its end.
    const bool completed = job->IsCompleted();
    const bool failed = job->IsFailed();
    const std::string jobID = job->GetJobFile()->GetJobID();
    std::string left = StringUtil::double_to_str(job->GetEstimateLeftTime());
    std::string progress = StringUtil::double_to_str(job->GetProgress());
    if (job->IsQueueing()) {
      left = progress = translated(kQueueing);
    } else if (failed) {
      left = progress = translated(kFailed);
    }
    entries[jobID] = left + "|" + progress;
    // A job that waits or is being started again stays listed.
    if ((completed || failed) && !job->IsQueueing() && claims_.count(job) == 0) OpRunningJobs("remove", job);
  }
  SimpleJson json;
  json.parse("{}");
  for (const auto& entry : entries) json.set(entry.first, entry.second);
  return json.to_string();
}

std::map<std::string, std::pair<std::string, std::string>> JobManager::ParseJobsProgress(
    const std::string& snapshot) {
  std::map<std::string, std::pair<std::string, std::string>> result;
  SimpleJson json;
  json.parse(snapshot);
  for (const std::string& jobID : json.keys()) {
    std::string value;
    try {
      value = json.get(jobID.c_str());
    } catch (const std::string&) {
      continue;  // not a text: not ours
    }
    const std::vector<std::string> parts = StringUtil::split(value, '|');
    if (value.find('|') == std::string::npos || parts.size() < 2) continue;
    result[jobID] = std::make_pair(parts[0], parts[1]);
  }
  return result;
}

#include "jobs/ProgressSnapshotText.h"

#include <QObject>

#include "text/SimpleJson.h"
#include "text/StringUtil.h"

namespace {
// The texts are marked here so the translation tools find them under QObject.
const char* const kQueueing = QT_TRANSLATE_NOOP("QObject", "queueing");
const char* const kFailed = QT_TRANSLATE_NOOP("QObject", "Failed");

std::string translated(const char* text) { return QObject::tr(text).toUtf8().toStdString(); }
}  // namespace

std::string ProgressSnapshotText::Write(const JobsStatus& status) {
  std::map<std::string, std::string> entries;
  for (const JobStatus& job : status) {
    std::string left = StringUtil::double_to_str(job.timeLeft);
    std::string progress = StringUtil::double_to_str(job.progress);
    if (job.state == JobState::Elsewhere) continue;
    if (job.state == JobState::Waiting) {
      left = progress = translated(kQueueing);
    } else if (job.state == JobState::Failed) {
      left = progress = translated(kFailed);
    }
    entries[job.jobID] = left + "|" + progress;
  }
  SimpleJson json;
  json.parse("{}");
  for (const auto& entry : entries) json.set(entry.first, entry.second);
  return json.to_string();
}

std::map<std::string, std::pair<std::string, std::string>> ProgressSnapshotText::Read(
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

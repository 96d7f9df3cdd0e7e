#include "jobs/StoredJobLoader.h"

#include <set>
#include <utility>

#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/JobState.h"
#include "jobs/JobV3.h"
#include "log/LogUtil.h"

namespace {

// Handed over in parts of this many, so the front end can start on them early.
constexpr size_t kPartSize = 1000;

JobTab tabOf(const JobFile& record) {
  return JobStateRules::TabOf(JobStateRules::OfRecord(record.GetIsCompleted(), record.GetIsDeleted(),
                                                      record.GetIsStopped(), record.GetOutcome()));
}

}  // namespace

StoredJobLoader::StoredJobLoader(JobManager& manager, std::string folder, Taken taken)
    : manager_(manager), folder_(std::move(folder)), taken_(std::move(taken)) {}

StoredJobLoader::~StoredJobLoader() { Stop(); }

void StoredJobLoader::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void StoredJobLoader::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<std::unique_ptr<JobFile>> StoredJobLoader::ReadRecords(const std::string& folder,
                                                                   const std::atomic<bool>* stop) {
  // A kill during a save leaves its temporary file.
  JobFile::RemoveStaleTempFiles(folder);
  std::vector<std::unique_ptr<JobFile>> records;
  for (const std::string& path : JobFile::ListJobFiles(folder)) {
    if (stop != nullptr && *stop) break;
    auto record = std::make_unique<JobFile>();
    try {
      record->Load(path);
    } catch (const std::string& reason) {
      // One unreadable file must not cost the user every other job.
      log_info("JobManager::LoadStoredJobs, skipped job file:" + path + ",reason:" + reason);
      continue;
    }
    records.push_back(std::move(record));
  }
  return records;
}

void StoredJobLoader::run() {
  manager_.SetJobFolder(folder_);
  std::vector<std::unique_ptr<JobFile>> records = ReadRecords(folder_, &stop_);
  std::vector<JobTab> tabs;
  tabs.reserve(records.size());
  for (const std::unique_ptr<JobFile>& record : records) tabs.push_back(tabOf(*record));
  std::vector<JobV3*> jobs(records.size(), nullptr);
  // Unfinished jobs first: they may need the clean-up, and their table matters most.
  std::vector<std::string> transcoding;
  std::vector<JobV3*> unfinished;
  for (size_t i = 0; i < records.size(); ++i) {
    if (stop_) return;
    if (records[i]->GetIsCompleted()) continue;
    // Read a while ago: another Kovadle may have finished with it since.
    records[i]->Reload();
    jobs[i] = manager_.AddJob(records[i].release());
    if (!jobs[i]->GetJobFile()->GetIsCompleted()) unfinished.push_back(jobs[i]);
    if (tabs[i] == JobTab::Transcoding) transcoding.push_back(jobs[i]->GetJobFile()->GetJobID());
  }
  // Before any of them is shown, and so before any can run.
  std::set<std::string> finishedOutputs;
  for (size_t i = 0; i < records.size(); ++i) {
    const JobFile* record = jobs[i] != nullptr ? jobs[i]->GetJobFile() : records[i].get();
    if (record->GetIsCompleted()) finishedOutputs.insert(record->GetOutputFile());
  }
  manager_.RemoveOldPlaceholders(unfinished, finishedOutputs);
  taken_(std::move(transcoding), false);
  for (size_t i = 0; i < records.size(); ++i) {
    if (stop_) return;
    if (jobs[i] == nullptr) jobs[i] = manager_.AddJob(records[i].release());
  }
  // The others only now that the manager knows every job: what is done to one of
  // them (its output deleted with it) may depend on the others.
  std::vector<std::string> part;
  for (size_t i = 0; i < jobs.size(); ++i) {
    if (stop_) return;
    if (tabs[i] == JobTab::Transcoding) continue;
    part.push_back(jobs[i]->GetJobFile()->GetJobID());
    if (part.size() == kPartSize) taken_(std::exchange(part, {}), false);
  }
  taken_(std::move(part), true);
}

// Start-up loading of the stored job files.

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "jobs/JobManager.h"

std::vector<JobV3*> JobManager::LoadStoredJobs() { return LoadStoredJobs(get_appjobfile_dir()); }

std::vector<JobV3*> JobManager::LoadStoredJobs(const std::string& folder) {
  // A kill during a save leaves its temporary file; no save runs yet at start-up.
  JobFile::RemoveStaleTempFiles(folder);
  std::vector<JobV3*> loaded;
  for (const std::string& path : JobFile::ListJobFiles(folder)) {
    JobFile* record = new JobFile;
    try {
      record->Load(path);
    } catch (const std::string& reason) {
      // One unreadable file must not cost the user every other job.
      log_info("JobManager::LoadStoredJobs, skipped job file:" + path + ",reason:" + reason);
      delete record;
      continue;
    }
    loaded.push_back(AddJob(record));
  }
  return loaded;
}

#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class JobFile;
class JobManager;

// Takes up the stored jobs on a thread of its own, so that a front end opens at once
// however many years of jobs there are. Every job file is read first; then the
// unfinished jobs are registered with the manager (which cleans what killed runs
// left behind) and those of the Transcoding table handed over, then the finished
// ones registered and handed over. Each part comes in stored order (oldest first),
// and a job is handed over only once the manager knows it.
class StoredJobLoader {
 public:
  // Called on the loader's thread with each part's JobIDs; last is true for the
  // final call (which may bring none).
  using Taken = std::function<void(std::vector<std::string> jobIDs, bool last)>;

  StoredJobLoader(JobManager& manager, std::string folder, Taken taken);
  // Stops the loading (a job file being read is finished first) and waits for it.
  ~StoredJobLoader();
  StoredJobLoader(const StoredJobLoader&) = delete;
  StoredJobLoader& operator=(const StoredJobLoader&) = delete;

  void Start();
  // Nothing more is registered or handed over once this returns.
  void Stop();

  // The stored records of the folder, oldest first, after removing what interrupted
  // saves left there. Files that cannot be read are skipped and logged. An asked
  // stop ends the reading early.
  static std::vector<std::unique_ptr<JobFile>> ReadRecords(const std::string& folder,
                                                           const std::atomic<bool>* stop = nullptr);

 private:
  void run();

  JobManager& manager_;
  const std::string folder_;
  Taken taken_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// The record of one job and its JSON job file ("<JobID>.jobfile" in the job-file
// folder). Every flag change rewrites the whole file.
class JobFile {
 public:
  JobFile() = default;
  JobFile(const JobFile&) = delete;
  JobFile& operator=(const JobFile&) = delete;

  // A new job with a fresh JobID, saved at once in the job-file folder.
  void Init(const std::string& inputFile, const std::string& outputFile, const std::string& quality,
            const std::string& outputCodec, const std::string& outputFormat);
  // Reads an existing job file. Throws a std::string when a member is missing, is
  // not a string, or a flag is neither "true" nor "false" (a file that is not JSON
  // fails as a missing member).
  void Load(const std::string& path);
  // Writes the ten members to the path; false when the file could not be replaced
  // or the record was removed.
  bool Save();
  // The job is gone for good: no save may write its file again, not even one that a
  // late thread makes after the file was deleted. Waits for a save in progress.
  void MarkRemoved();

  std::string GetJobID() const { return jobID_; }
  std::string GetGeneratedTime() const { return generatedTime_; }
  std::string GetInputFile() const { return inputFile_; }
  std::string GetOutputFile() const { return outputFile_; }
  std::string GetQuality() const { return quality_; }
  std::string GetOutputCodec() const { return outputCodec_; }
  std::string GetOutputFormat() const { return outputFormat_; }
  bool GetIsCompleted() const { return isCompleted_; }
  bool GetIsDeleted() const { return isDeleted_; }
  bool GetIsStopped() const { return isStopped_; }
  std::string GetPath() const { return path_; }

  // Store the flag and save, whether or not it changed.
  void SetIsCompleted(bool value);
  void SetIsDeleted(bool value);
  void SetIsStopped(bool value);

  // Full paths of the "*.jobfile" files (not folders) in the job-file folder, or in
  // the given folder, oldest modification first.
  static std::vector<std::string> ListJobFiles();
  static std::vector<std::string> ListJobFiles(const std::string& folder);

  // Removes the temporary files ("<JobID>.jobfile.XXXXXX") that a save interrupted
  // by a kill leaves in the folder; nothing else is touched. Only safe while no job
  // of that folder is being saved (start-up loading). Returns how many went.
  static int RemoveStaleTempFiles(const std::string& folder);

 private:
  std::string jobID_;
  std::string generatedTime_;
  std::string inputFile_;
  std::string outputFile_;
  std::string quality_;
  std::string outputCodec_;
  std::string outputFormat_;
  // Flags are set by one thread and saved by another.
  std::atomic<bool> isCompleted_{false};
  std::atomic<bool> isDeleted_{false};
  std::atomic<bool> isStopped_{false};
  std::mutex lock_;
  bool removed_ = false;  // under lock_
  std::string path_;
};

#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class JobOwnership;

// The record of one job and its JSON job file ("<JobID>.jobfile" in the job-file
// folder). Every change rewrites the whole file. Beside the ten members every job
// file has, it keeps how the last run ended ("Outcome") and the encoder's error
// lines of a failed run ("ErrorLines"); files without them load as before.
class JobFile {
 public:
  JobFile();
  ~JobFile();
  JobFile(const JobFile&) = delete;
  JobFile& operator=(const JobFile&) = delete;

  // A new job with a fresh JobID, owned by this process and saved at once in the
  // job-file folder. False when the file could not be written (LastSaveError says
  // why); the record keeps its values.
  bool Init(const std::string& inputFile, const std::string& outputFile, const std::string& quality,
            const std::string& outputCodec, const std::string& outputFormat);
  // Reads an existing job file. Throws a std::string when a member is missing, is
  // not a string, or a flag is neither "true" nor "false" (a file that is not JSON
  // fails as a missing member).
  void Load(const std::string& path);
  // Reads the record's own file again, so a change is never made to a stale copy
  // (another process may have written it). False when it cannot be read; the record
  // then keeps its values.
  bool Reload();
  // Writes the record to its path; false when the file could not be replaced or the
  // record was removed. A failed save is kept in mind (NeedsSave) until one succeeds.
  bool Save();
  std::string LastSaveError() const;
  bool NeedsSave() const { return needsSave_; }
  // The job is gone for good: no save may write its file again, not even one that a
  // late thread makes after the file was deleted. Waits for a save in progress.
  void MarkRemoved();

  // The job's lock between processes (see JobOwnership). Taking it re-reads the file
  // unless this record holds a change not yet saved.
  bool TakeOwnership();
  void ReleaseOwnership();
  bool IsOwnedHere() const;
  // A live process other than this one holds the job.
  bool IsOwnedElsewhere() const;

  std::string GetJobID() const;
  std::string GetGeneratedTime() const;
  std::string GetInputFile() const;
  std::string GetOutputFile() const;
  std::string GetQuality() const;
  std::string GetOutputCodec() const;
  std::string GetOutputFormat() const;
  bool GetIsCompleted() const { return isCompleted_; }
  bool GetIsDeleted() const { return isDeleted_; }
  bool GetIsStopped() const { return isStopped_; }
  std::string GetPath() const { return path_; }

  // "completed", "failed", "stopped", or "" before the first run ends.
  std::string GetOutcome() const;
  std::vector<std::string> GetErrorLines() const;
  // Why the last run failed: its first error line; "" when it did not fail.
  std::string GetFailureReason() const;

  // Store the flag and save, whether or not it changed.
  void SetIsCompleted(bool value);
  void SetIsDeleted(bool value);
  void SetIsStopped(bool value);
  // Stored only; the next save writes them.
  void SetFlags(bool completed, bool deleted, bool stopped);
  void SetOutcome(const std::string& outcome, const std::vector<std::string>& errorLines);
  void SetOutputFile(const std::string& outputFile);
  // This process made the empty file that holds the output's name (not saved).
  void SetOutputReserved(bool value) { outputReserved_ = value; }
  bool IsOutputReserved() const { return outputReserved_; }

  // Full paths of the "*.jobfile" files (not folders) in the job-file folder, or in
  // the given folder, oldest modification first.
  static std::vector<std::string> ListJobFiles();
  static std::vector<std::string> ListJobFiles(const std::string& folder);

  // Removes the temporary files ("<JobID>.jobfile.XXXXXX") that a save interrupted
  // by a kill leaves in the folder, except those of jobs a live process owns (it may
  // be saving just now); nothing else is touched. Returns how many went.
  static int RemoveStaleTempFiles(const std::string& folder);

 private:
  struct Fields;
  void setPath(const std::string& path);
  Fields copyFields() const;
  template <typename Value>
  Value field(Value Fields::*member) const;

  std::unique_ptr<Fields> fields_;  // under fieldsLock_
  mutable std::mutex fieldsLock_;
  // Flags are set by one thread and saved by another.
  std::atomic<bool> isCompleted_{false};
  std::atomic<bool> isDeleted_{false};
  std::atomic<bool> isStopped_{false};
  std::atomic<bool> needsSave_{false};
  std::atomic<bool> outputReserved_{false};
  // Held while the file is written; never while the fields are read elsewhere.
  mutable std::mutex saveLock_;
  bool removed_ = false;       // under saveLock_
  std::string lastSaveError_;  // under saveLock_
  std::string path_;
  // The job-file folder, where its lock file is; not kept: there may be tens of thousands.
  std::string folder() const;
  // Made when first needed: most stored jobs are never run or changed again.
  JobOwnership* ownership() const;
  mutable std::atomic<JobOwnership*> ownership_{nullptr};
};

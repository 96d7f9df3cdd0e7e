#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "jobs/JobReason.h"
#include "jobs/JobState.h"

class JobOwnership;

// The record of one job and its JSON job file ("<JobID>.jobfile" in the job-file
// folder). Every change rewrites the whole file. Beside the ten members every job
// file has, it keeps how the last run ended ("Outcome") and the encoder's error
// lines of a failed run ("ErrorLines"); files without them load as before. Written
// only when known: why a run failed as a code ("ReasonCode", "ReasonArgs"), how far
// a stopped run had come ("ProgressReached", a fraction), how long a completed
// encode took ("EncodeSeconds"), and what a completed job's output file was when it
// took its name ("OutputSize" in bytes, "OutputModified" in ms since the epoch), so
// that only that very file is ever deleted with the job. A job that fits its output
// into a size keeps the size ("TargetSize", bytes) and, when a first output came out
// over it and was made again, that output's size ("OversizedOutput", bytes); its
// "Quality" is the row the size bought, so programs that know no size run it at that
// quality.
class JobFile {
 public:
  JobFile();
  ~JobFile();
  JobFile(const JobFile&) = delete;
  JobFile& operator=(const JobFile&) = delete;

  // A new job with a fresh JobID (or the one given), owned by this process and saved
  // at once in the job-file folder. False when the file could not be written, or
  // the output would be the input itself (LastSaveError says why); the record keeps
  // its values.
  bool Init(const std::string& inputFile, const std::string& outputFile, const std::string& quality,
            const std::string& outputCodec, const std::string& outputFormat, bool keepAllTracks = false,
            const std::string& jobID = "", int64_t targetBytes = 0);
  // Reads an existing job file. Throws a std::string when a member is missing, is
  // not a string, a flag is neither "true" nor "false" (a file that is not JSON
  // fails as a missing member), the JobID is no GUID (it becomes part of file
  // names), or the output names the input itself.
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
  // What another process does with the job: Waiting, Encoding or Stopping while it
  // runs it, Elsewhere while it holds it otherwise; Idle when no other process does.
  JobState ElsewhereState() const;
  // Tells the other processes what this one does with the job (see JobOwnership).
  void SetRunState(JobState state, int64_t waitingSince = 0);

  std::string GetJobID() const;
  std::string GetGeneratedTime() const;
  std::string GetInputFile() const;
  std::string GetOutputFile() const;
  std::string GetQuality() const;
  std::string GetOutputCodec() const;
  std::string GetOutputFormat() const;
  // The job keeps every audio track and subtitle ("KeepAllTracks", written only
  // when set: files without it keep the usual tracks).
  bool GetKeepAllTracks() const;
  // The size the output is fitted into, in bytes; 0 for a quality job (and in job
  // files of older programs).
  int64_t GetTargetBytes() const;
  // The size of a first output that was over the target and made again; -1 when
  // none was.
  int64_t GetOversizedBytes() const;
  bool GetIsCompleted() const { return isCompleted_; }
  bool GetIsDeleted() const { return isDeleted_; }
  bool GetIsStopped() const { return isStopped_; }
  std::string GetPath() const { return path_; }

  // "completed", "failed", "stopped", or "" before the first run ends.
  std::string GetOutcome() const;
  std::vector<std::string> GetErrorLines() const;
  // Why the last run failed: its first error line; "" when it did not fail.
  std::string GetFailureReason() const;

  // Our own reason for the failure as a code; empty when the encoder's line says why.
  JobReason GetReason() const;
  // The fraction a stopped run had reached, -1 when unknown.
  double GetProgressReached() const;
  // Wall-clock seconds the completed encode took, -1 when unknown.
  double GetEncodeSeconds() const;

  // Store the flag and save, whether or not it changed.
  void SetIsCompleted(bool value);
  void SetIsDeleted(bool value);
  void SetIsStopped(bool value);
  // Stored only; the next save writes them.
  void SetFlags(bool completed, bool deleted, bool stopped);
  void SetOutcome(const std::string& outcome, const std::vector<std::string>& errorLines);
  void SetOutputFile(const std::string& outputFile);
  // Stored only, like SetOutcome; negative figures mean unknown.
  void SetReason(const JobReason& reason);
  void SetProgressReached(double fraction);
  void SetEncodeSeconds(double seconds);
  void SetOversizedBytes(int64_t bytes);
  // The output file as it was when it took its name (stored only; size -1: none).
  void SetOutputIdentity(int64_t size, int64_t modifiedMs);
  // False when the record keeps none (not completed, or an older job file).
  bool GetOutputIdentity(int64_t* size, int64_t* modifiedMs) const;

  // Full paths of the "*.jobfile" files (not folders) in the job-file folder, or in
  // the given folder, oldest modification first.
  static std::vector<std::string> ListJobFiles();
  static std::vector<std::string> ListJobFiles(const std::string& folder);

  // Removes the temporary files ("<JobID>.jobfile.XXXXXX") that a save interrupted
  // by a kill leaves in the folder, except those of jobs a live process owns (it may
  // be saving just now); nothing else is touched. Returns how many went.
  static int RemoveStaleTempFiles(const std::string& folder);
  // A JobID as Init makes them: a GUID's text (no braces).
  static bool IsJobID(const std::string& text);

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

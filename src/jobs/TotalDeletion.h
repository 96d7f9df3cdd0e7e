#pragma once

#include <cstdint>
#include <string>

// What "Delete completely" may do with a job's output file, and did.
enum class OutputFate {
  Deletable,    // the file the job made, still as it was: it may go with the job
  Missing,      // nothing is there any more
  Shared,       // kept: another job names the same file as its output
  NotMadeHere,  // kept: not the file the job made (never completed, changed, replaced)
  Kept,         // kept, as asked
  Trashed,      // moved to the desktop's trash
  Removed,      // deleted for good
  TrashFailed,  // kept: the trash refused it; JobManager::RemoveOutput deletes it for good
};

// How "Delete completely" treats the output file the job made.
enum class OutputDisposal { Keep, Trash, Remove };

// The outcome of a complete deletion; true when the job itself went.
struct TotalDeletion {
  bool deleted = false;
  OutputFate output = OutputFate::Kept;
  std::string outputFile;
  // The output as the job recorded it, for a removal asked for afterwards.
  int64_t outputSize = -1;
  int64_t outputModified = -1;

  explicit operator bool() const { return deleted; }
};

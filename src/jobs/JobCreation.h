#pragma once

#include <cstdint>
#include <string>

class JobFile;

// A new job's way into the engine, the same for every front end: its output name is
// reserved on disk first (the next free name when the proposed one was taken
// meanwhile), then its job file is written, owned by this process. Nothing is left
// behind when either step fails.
class JobCreation {
 public:
  enum class Problem { None, Output, JobFile };
  struct Result {
    JobFile* record = nullptr;  // the caller owns it; null on failure
    Problem problem = Problem::None;
    std::string path;    // the output or the job-file folder that failed
    std::string reason;  // the system's reason
  };

  static Result Create(const std::string& inputFile, const std::string& proposedOutput,
                       const std::string& quality, const std::string& outputCodec,
                       const std::string& outputFormat, bool keepAllTracks = false, int64_t targetBytes = 0);
};

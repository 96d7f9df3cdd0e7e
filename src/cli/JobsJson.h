#pragma once

#include <string>

struct JobView;

// `kovadle-cli jobs --json`: one JSON object per job and line, every value exact
// (names with tabs, newlines or escape characters as they are; JSON escapes them).
class JobsJson {
 public:
  // The job's object and a newline. state: as the human-readable list names it.
  static std::string Line(const JobView& job, const std::string& state);
};

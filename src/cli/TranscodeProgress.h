#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "jobs/JobEngine.h"

// Shows the jobs of one `transcode` run from what the progress publisher reports: a
// line when a job starts, waits or ends (a failure with its reason), and the figures
// of each encoding job (percent, speed, time left). On a terminal the figures are a
// bar per job, redrawn in place below the other lines; elsewhere (a pipe, a log file)
// they are plain lines once a second.
class TranscodeProgress {
 public:
  // fileCount numbers the lines ("[2/5]").
  TranscodeProgress(bool terminal, int fileCount);

  // Follows the job from now on and says whether it started or waits.
  void Add(const JobView& job, int number);
  // A line that stays, above the bars: standard error when it reports a problem.
  void Print(const std::string& line, bool problem);
  // The publisher's snapshot: jobs that started, and the figures.
  void OnStatus(const JobsStatus& status);
  // A run that ended.
  void OnFinished(const JobFinished& finished);
  // Takes the bars off the terminal; they come back with the next figures.
  void TakeBarsAway();
  // Reports how the jobs not reported as ended stand now (as the engine tells)
  // and takes the bars away.
  void Finish(const JobEngine& engine);

  bool AllEnded() const;
  int CountOf(JobState state) const;
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    std::string jobID;
    std::string tag;  // "[2/5]"
    std::string name;
    std::string input;
    std::string output;
    JobState state = JobState::Waiting;
    JobStatus figures;
    int64_t targetBytes = 0;  // the size its output is fitted into; 0: none
    bool retryTold = false;   // the line on an output made again was written
  };
  using Lines = std::vector<std::pair<std::string, bool>>;  // text, problem

  Entry* find(const std::string& jobID);
  // The line that tells a change of state, if any.
  static void describe(const Entry& entry, const std::string& reason, Lines* lines);
  // Takes the bars away, writes the lines, then draws the bars again (terminal).
  void show(const Lines& lines, bool withFigures);
  std::string barsText() const;
  static std::string figures(const JobStatus& status);

  const bool terminal_;
  const int fileCount_;
  std::vector<Entry> entries_;
  int barLines_ = 0;       // lines of bars on the screen now
  std::string barsShown_;  // and their text
  bool finished_ = false;
};

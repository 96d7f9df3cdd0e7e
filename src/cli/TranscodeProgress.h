#pragma once

#include <QElapsedTimer>
#include <string>
#include <utility>
#include <vector>

class JobV3;

// Shows the jobs of one `transcode` run: a line when a job starts, waits or ends,
// and the figures of each encoding job (percent, speed, time left). On a terminal
// the figures are a bar per job, redrawn in place below the other lines; elsewhere
// (a pipe, a log file) they are plain lines once a second.
class TranscodeProgress {
 public:
  enum class State { Queued, Running, Completed, Failed, Stopped };

  // fileCount numbers the lines ("[2/5]").
  TranscodeProgress(bool terminal, int fileCount);

  // Follows the job from now on and says whether it started or waits.
  void Add(JobV3* job, int number, const std::string& input, const std::string& output);
  // A line that stays, above the bars: standard error when it reports a problem.
  void Print(const std::string& line, bool problem);
  // Reports the jobs that started or ended since the last call, and the figures
  // when they are due. Cheap enough to call every few tens of milliseconds.
  void Update();
  // Reports the last changes and takes the bars away. After an interruption, a
  // job whose encoder ended with the signal counts as stopped, not failed.
  void Finish(bool interrupted);

  bool AllEnded() const;
  int CountOf(State state) const;
  int Count() const { return static_cast<int>(entries_.size()); }

  // The job's state as its flags tell it now.
  static State StateOf(const JobV3* job);

 private:
  struct Entry {
    JobV3* job = nullptr;
    std::string tag;  // "[2/5]"
    std::string name;
    std::string input;
    std::string output;
    State state = State::Queued;
  };
  using Lines = std::vector<std::pair<std::string, bool>>;  // text, problem

  Lines changes(bool interrupted);
  // Takes the bars away, writes the lines, then draws the bars again (terminal).
  void show(const Lines& lines, bool withFigures);
  std::string barsText() const;
  static std::string figures(const JobV3* job);

  const bool terminal_;
  const int fileCount_;
  std::vector<Entry> entries_;
  int barLines_ = 0;       // lines of bars on the screen now
  std::string barsShown_;  // and their text
  bool finished_ = false;
  QElapsedTimer sinceFigures_;
};

#pragma once

#include <string>

// Where one job stands. Every change goes through JobStateRules::CanMove, so a
// front end can show a state without guessing it from figures or words.
enum class JobState {
  Idle,       // not finished and not running here: new, or cut short by an earlier exit
  Waiting,    // queued for a free run slot
  Starting,   // its command is being prepared and its encoder started
  Encoding,   // the encoder runs
  Paused,     // the encoder is held (suspended) until resumed
  Stopping,   // a stop was asked; the encoder has not ended yet
  Stopped,    // stopped by the user or by the program's exit
  Completed,  // the encoder succeeded and the output was checked whole
  Failed,     // the encoder could not start or failed, or its output was not whole
  Deleted,    // in the recycle bin
  Elsewhere,  // another Kovadle process owns the job just now
};

// The window's table a job is listed in.
enum class JobTab { Transcoding, Completed, RecycleBin };

class JobStateRules {
 public:
  static bool CanMove(JobState from, JobState to);
  // The state's name for logs and kovadle-cli ("encoding", "failed", ...).
  static std::string Name(JobState state);
  // States in which the job holds a run slot or is about to (the encoder may live;
  // a paused one holds its slot).
  static bool IsActive(JobState state);
  // States a run ends in.
  static bool IsFinal(JobState state);

  // What a job file records, read the one way the whole program reads it: in the
  // recycle bin, else completed, failed (the "Outcome" key, which older files lack),
  // stopped, else idle (never run, or cut short by an earlier exit).
  static JobState OfRecord(bool completed, bool deleted, bool stopped, const std::string& outcome);
  // The table of a job whose record reads `recorded` (OfRecord).
  static JobTab TabOf(JobState recorded);
  // "Transcoding", "Completed", "RecycleBin".
  static std::string TabName(JobTab tab);
};

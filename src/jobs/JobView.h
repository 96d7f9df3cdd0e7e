#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jobs/JobReason.h"
#include "jobs/JobState.h"

// One job as a front end sees it: a copy of its record and figures taken when it
// was asked for. Holding one changes nothing and keeps nothing alive.
struct JobView {
  std::string jobID;
  // Where the job stands now (Elsewhere: another Kovadle process holds it).
  JobState state = JobState::Idle;
  // What its job file says of its last run, also while it is in the recycle bin:
  // Idle (none yet, or cut short), Stopped, Completed or Failed.
  JobState recorded = JobState::Idle;
  JobTab tab = JobTab::Transcoding;
  // While another Kovadle process holds the job (read from stored jobs): Waiting,
  // Encoding or Stopping when it runs it, Elsewhere otherwise; Idle when none does.
  JobState elsewhere = JobState::Idle;
  // The record's own stop mark, set for a stopped and for a failed run (programs
  // that know no failure read it as stopped); the recycle bin's rows show it first.
  bool markedStopped = false;

  double progress = -1;  // 0 to 1; -1 while unknown
  double timeLeft = -1;  // seconds; -1 while unknown
  double speed = -1;     // encoder speed factor; -1 while unknown

  std::string inputFile;
  std::string outputFile;
  std::string quality;
  std::string outputFormat;
  std::string outputCodec;
  bool keepAllTracks = false;  // every audio track and subtitle (JobPlan)
  // The size its output is fitted into, in bytes; 0 for a quality job (its quality
  // is then the row the size bought).
  int64_t targetBytes = 0;
  // A first output that came out over the size and was made again: its size; -1
  // when none was.
  int64_t oversizedBytes = -1;
  std::string generatedTime;
  // Where its record is kept (the job file).
  std::string jobFilePath;
  // Why the last run failed, in one line, and the encoder's error lines; empty
  // unless it failed.
  std::string reason;
  std::vector<std::string> errorLines;
  // Our own reason as a code (say it in the viewer's language); empty when the
  // encoder's line says why, and in job files of older programs.
  JobReason why;

  // A stopped run's progress when it stopped (0 to 1), -1 when unknown.
  double progressReached = -1;
  // Wall-clock seconds of the completed encode, -1 when unknown.
  double encodeSeconds = -1;

  // Sizes on disk, read when asked: -1 when there is no such file.
  int64_t InputSize() const;
  int64_t OutputSize() const;
};

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jobs/JobReason.h"
#include "probe/MediaInfo.h"
#include "process/ProcessRunner.h"

// Decides whether an encoder run produced a whole output. The encoder's exit code
// alone does not tell: it exits 0 when its input was cut short under it, and when
// it could not write the end of its output.
class EncoderOutcome {
 public:
  struct Run {
    ProcessRunner::Ending ending = ProcessRunner::Ending::FailedToStart;
    int exitCode = -1;
    double inputSeconds = -1;             // the kept streams' length from the probe; -1 unknown
    double lastTime = -1;                 // the encoder's last "time=" in seconds; -1 unknown
    std::vector<std::string> errorLines;  // the lines that report errors
    std::vector<std::string> lastLines;   // the last lines it printed
    // The output's bytes on disk, and the size it must not pass (0: none).
    int64_t outputBytes = -1;
    int64_t targetBytes = 0;
  };
  struct Verdict {
    bool completed = false;
    // The failure in lines, the reason first; empty when completed.
    std::vector<std::string> errorLines;
    // Our reason as a code, for each front end to say in its language; empty when
    // the encoder's own first line says why (or when completed).
    JobReason reason;
    // Whole, but larger than its size: kOverTarget says by how much.
    bool overTarget = false;
  };

  // output: the probe's record of the file the encoder wrote (IsMediaFile "false"
  // when there is none or it does not read). Without the input's length nothing
  // can show the output whole, so it does not complete; nor does a whole output
  // larger than its size.
  static Verdict Judge(const Run& run, const MediaInfo& output);

  // How much shorter than its input an output may be and still count as whole: a
  // frame-rate change or the audio's last packet moves the end by a frame or two,
  // and containers round their durations; a cut input loses far more.
  static double ShortfallAllowed(double inputSeconds);
};

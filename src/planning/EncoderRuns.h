#pragma once

#include <cstdint>
#include <string>

#include "planning/SizePlan.h"
#include "process/CommandLine.h"

// The encoder runs of one job. For a quality: one command. For a size: an analysis
// run, then the run that writes the output, and the plan they carry out, which the
// output is checked against.
struct EncoderRuns {
  CommandLine analysis;  // empty: the output's run is the only one
  CommandLine output;
  // targetBytes 0: no size to keep. A size whose plan is not Encodable has no
  // commands: its verdict says why.
  SizePlan size;

  bool TwoPass() const { return !analysis.Empty(); }
  bool HasSize() const { return size.targetBytes > 0; }

  // One command, as a quality gives it (or a test stands in).
  static EncoderRuns Single(const CommandLine& command);
  // The runs that make the output at the size: the input's record from the probe
  // cache, the plan, the two commands.
  static EncoderRuns ForSize(const std::string& inputFile, const std::string& outputFile, int64_t targetBytes,
                             bool keepAllTracks);
  // The same for a plan already made.
  static EncoderRuns ForPlan(const SizePlan& plan, const std::string& inputFile,
                             const std::string& outputFile);

  // The commands with the analysis log at prefix (a path without extension).
  EncoderRuns WithPassLog(const std::string& prefix) const;
  // The output's run at another video rate (a second try under the size).
  CommandLine OutputAt(int videoBitrate) const;
};

#pragma once

#include <map>
#include <optional>
#include <string>

#include "planning/TrackPlan.h"
#include "probe/MediaFigure.h"

// The output parameters of one transcode, as planned from the input's record and a
// quality. A refused input is not planned: only the paths are set.
struct FFmpegParams {
  std::string inputFile;
  std::string outputFile;
  bool planned = false;
  std::string preset;
  int videoBitrate = 0;  // bits per second
  int audioBitrate = 0;  // bits per second
  double videoFramerate = 0;
  int width = 0;
  int height = 0;
  // Taken over from the input's record.
  bool hasAudio = false;
  std::string pixFmt;                 // empty when the probe did not say
  std::optional<MediaFigure> rotate;  // the input's turn, when it has one
  // What each input stream becomes.
  bool keepAllTracks = false;
  TrackPlan tracks;
  // The command names the streams the plan keeps: always when every track is to be
  // kept, otherwise only where the encoder's own pick may differ from the plan's.
  bool namedStreams = false;

  // The parameters as texts by key ("InputFile", "Width", "VideoFramerate" with
  // three decimals, "HasRotate", ...); only the two paths when not planned.
  std::map<std::string, std::string> ToMap() const;
};

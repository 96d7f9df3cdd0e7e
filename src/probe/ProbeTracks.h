#pragma once

#include <string>
#include <vector>

#include "probe/MediaTrack.h"

// Every stream of the probe's INI report, from its stream sections and their
// disposition and tags sub-sections, in the order of their numbers.
class ProbeTracks {
 public:
  static std::vector<MediaTrack> Read(const std::vector<std::string>& lines);
  // "01:02:03.500000000" (a Matroska DURATION tag) in seconds; false when the text
  // is not such a time.
  static bool ClockSeconds(const std::string& text, double& seconds);
};

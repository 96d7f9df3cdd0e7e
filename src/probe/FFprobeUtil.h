#pragma once

#include <string>
#include <vector>

#include "probe/MediaInfo.h"

// Runs the probe tool (bin/mediainfo) on a file and condenses its INI report.
class FFprobeUtil {
 public:
  // Never fails: whatever goes wrong, a record with the defaults comes back.
  static MediaInfo GetMediaInfo(const std::string& file);
  static std::string GetProbePath();
  static void InitMediaInfo(MediaInfo& info);
  static void SplitSections(const std::vector<std::string>& lines, std::vector<std::string>& video,
                            std::vector<std::string>& audio, std::vector<std::string>& format);
  static double GetFrameRate(const std::string& ratio);
  static int GetAudioBitrate(int total_bitrate);
  // The record for the probe's output lines of the given file (everything but
  // running the probe).
  static MediaInfo ParseProbeOutput(const std::string& file, const std::vector<std::string>& lines);
};

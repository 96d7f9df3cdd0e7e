#pragma once

#include <map>
#include <string>

// Target parameters of one quality. The height is never stored: it follows the
// input's aspect ratio.
struct QualityRow {
  int videoBitrate = 0;  // bits per second
  int audioBitrate = 0;  // bits per second
  int width = 0;         // pixels
  double videoFramerate = 0;
  std::string preset;

  // "VideoBitrate", "AudioBitrate", "Width", "VideoFramerate", "Preset" as texts.
  std::map<std::string, std::string> ToMap() const;
};

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "probe/MediaInfo.h"

// Output parameters of one transcode ("Width", "Height", "VideoBitrate", ...).
using FFmpegParams = std::map<std::string, std::string>;

// Turns an input, an output path and a quality key ("70" to "99") into the encoder
// command line.
class FFmpegCmdGenerator {
 public:
  static std::string GetEncoderPath();
  static std::string GetResolutionRange(int32_t width);
  // Quality keys offered for the input, ascending; empty when it cannot be transcoded.
  static std::vector<std::string> GetQualitys(const std::string& inputFile);
  static FFmpegParams GetFFmpegParams(const std::string& inputFile, const std::string& outputFile,
                                      const std::string& quality);
  static std::string Generate(const std::string& inputFile, const std::string& outputFile,
                              const std::string& quality);
};

#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "probe/MediaInfo.h"

using Texts = std::map<std::string, std::string>;

// A fresh media record with the given entries of its text view set, as a probe
// report that printed them would give it.
inline MediaInfo media_info_from(const Texts& entries) {
  MediaInfo info;
  const std::map<std::string, MediaFigure MediaInfo::*> figures = {
      {"OverallDuration", &MediaInfo::overallDuration},
      {"FileSize", &MediaInfo::fileSize},
      {"VideoBitrate", &MediaInfo::videoBitrate},
      {"Width", &MediaInfo::width},
      {"Height", &MediaInfo::height},
      {"VideoFramerate", &MediaInfo::videoFramerate},
      {"AudioBitrate", &MediaInfo::audioBitrate}};
  for (const auto& entry : entries) {
    const auto figure = figures.find(entry.first);
    if (figure != figures.end()) {
      info.*(figure->second) = MediaFigure(entry.second);
    } else if (entry.first == "HasVideo") {
      info.hasVideo = entry.second == "true";
    } else if (entry.first == "HasAudio") {
      info.hasAudio = entry.second == "true";
    } else if (entry.first == "Rotate") {
      info.rotate = MediaFigure(entry.second);
    } else if (entry.first == "pix_fmt") {
      info.pixFmt = entry.second;
    } else {
      ADD_FAILURE() << "no such entry in the tests' records: " << entry.first;
    }
  }
  return info;
}

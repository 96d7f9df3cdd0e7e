#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "probe/MediaFigure.h"
#include "probe/MediaTrack.h"

// What is in a media file, as condensed from the probe's report. A fresh record
// holds the defaults: nothing found, codecs "Unknown", every figure "0".
struct MediaInfo {
  std::string mediaFileName;
  bool isMediaFile = false;  // it has video or audio
  bool hasVideo = false;
  bool hasAudio = false;
  MediaFigure overallDuration;  // seconds
  MediaFigure fileSize;         // bytes
  std::string videoCodec = "Unknown";
  MediaFigure videoBitrate;    // bits per second
  MediaFigure width;           // pixels
  MediaFigure height;          // pixels
  MediaFigure videoFramerate;  // frames per second
  MediaFigure videoDuration;   // seconds
  std::string audioCodec = "Unknown";
  MediaFigure audioBitrate;  // bits per second
  MediaFigure audioChannel;
  MediaFigure audioSampleRate;  // samples per second
  MediaFigure audioDuration;    // seconds
  // Only when the probe reports them: the video's turn in degrees, its pixel format.
  std::optional<MediaFigure> rotate;
  std::optional<std::string> pixFmt;
  // Every stream of the file, in the order of their numbers; the figures above
  // describe the first video and the first audio among them.
  std::vector<MediaTrack> tracks;

  std::vector<MediaTrack> TracksOf(MediaTrack::Kind kind) const;

  // The record as texts by key ("Width", "HasVideo", ...): the 17 entries of every
  // record, and "Rotate" and "pix_fmt" when present. For logs, kovadle-cli info and
  // its JSON.
  std::map<std::string, std::string> ToMap() const;
};

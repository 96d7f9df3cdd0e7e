#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// A record's streams, one spec each, numbered in order: the kind, then the codec
// and any of "1280x720", "2ch", "default", "forced", "cover", "lang=ger", "title=Deutsch"
// ("video h264 1280x720 default", "subtitle subrip lang=eng").
inline std::vector<MediaTrack> tracks_from(const std::vector<std::string>& specs) {
  const std::map<std::string, MediaTrack::Kind> kinds = {
      {"video", MediaTrack::Kind::Video},           {"audio", MediaTrack::Kind::Audio},
      {"subtitle", MediaTrack::Kind::Subtitle},     {"data", MediaTrack::Kind::Data},
      {"attachment", MediaTrack::Kind::Attachment}, {"other", MediaTrack::Kind::Other}};
  std::vector<MediaTrack> tracks;
  for (const std::string& spec : specs) {
    std::istringstream words(spec);
    std::string word;
    MediaTrack track;
    track.index = static_cast<int>(tracks.size());
    words >> word;
    track.kind = kinds.at(word);
    words >> track.codec;
    while (words >> word) {
      if (word == "default")
        track.isDefault = true;
      else if (word == "forced")
        track.forced = true;
      else if (word == "cover")
        track.attachedPicture = true;
      else if (word.rfind("lang=", 0) == 0)
        track.language = word.substr(5);
      else if (word.rfind("title=", 0) == 0)
        track.title = word.substr(6);
      else if (word.size() > 2 && word.substr(word.size() - 2) == "ch")
        track.channels = std::stoi(word);
      else if (word.find('x') != std::string::npos) {
        track.width = std::stoi(word);
        track.height = std::stoi(word.substr(word.find('x') + 1));
      } else
        ADD_FAILURE() << "no such stream mark in the tests' records: " << word;
    }
    tracks.push_back(track);
  }
  return tracks;
}

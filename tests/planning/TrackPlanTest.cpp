#include <gtest/gtest.h>

#include "RecordsFromText.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/TrackPlan.h"

namespace {

using Fate = TrackPlan::Fate;

// Each stream's fate, and a kept subtitle's codec: "K K N C D:mov_text ...".
std::string fates(const std::vector<std::string>& streams, const std::string& extension, bool all) {
  MediaInfo info;
  info.tracks = tracks_from(streams);
  std::string text;
  for (const TrackPlan::Stream& stream : TrackPlan::For(info, extension, all).streams) {
    const char marks[] = {'K', 'N', 'L', 'D', '-'};
    text += std::string(text.empty() ? "" : " ") + marks[static_cast<int>(stream.fate)];
    if (!stream.encoding.empty()) text += ":" + stream.encoding;
  }
  return text;
}

}  // namespace

// K kept, N not chosen by the usual command, L over the container's limit, D not
// in this container, - never kept.
TEST(TrackPlan, WhatEachContainerKeepsOfEveryKindOfStream) {
  const std::vector<std::string> subtitles = {
      "video h264 640x360",    "subtitle subrip",       "subtitle mov_text",     "subtitle hdmv_pgs_subtitle",
      "subtitle dvd_subtitle", "subtitle dvb_subtitle", "subtitle dvb_teletext", "subtitle xsub"};
  EXPECT_EQ(fates(subtitles, ".mp4", true), "K K:mov_text K:copy D K:copy D D D");
  EXPECT_EQ(fates(subtitles, ".mkv", true), "K K:copy K:ass K:copy K:copy K:copy D D");
  EXPECT_EQ(fates(subtitles, ".MKV", true), "K K:copy K:ass K:copy K:copy K:copy D D");
  EXPECT_EQ(fates(subtitles, ".ts", true), "K D D D D K:copy D D");
  for (const char* none : {".avi", ".flv", ".mov", ""})
    EXPECT_EQ(fates(subtitles, none, true), "K D D D D D D D");
  // Without names only MKV gets one: the first the encoder can turn into text.
  const std::vector<std::string> pictureFirst = {"video h264 640x360", "subtitle hdmv_pgs_subtitle",
                                                 "subtitle dvb_teletext", "subtitle subrip"};
  EXPECT_EQ(fates(pictureFirst, ".mkv", false), "K N K N");
  EXPECT_EQ(fates(pictureFirst, ".mp4", false), "K D D D");

  // Audio: every track, but FLV has room for the one the encoder would pick, and
  // one the encoder cannot decode would fail the whole encode.
  const std::vector<std::string> audio = {"video h264 640x360", "audio aac 1ch",     "audio ac3 6ch",
                                          "audio aac 2ch",      "audio unknown 2ch", "data",
                                          "attachment ttf"};
  EXPECT_EQ(fates(audio, ".mp4", true), "K K K K - - -");
  EXPECT_EQ(fates(audio, ".flv", true), "K L K L - - -");
  EXPECT_EQ(fates(audio, ".avi", false), "K N K N N - -");
}

// The encoder's own pick: a default mark before size or channels, the first of
// equals; a cover picture only when nothing else is there. Keeping every track
// maps the first real video, the one the output is planned from.
TEST(TrackPlan, TheUsualPickFollowsTheEncodersRules) {
  const std::vector<std::string> streams = {"video mjpeg 3000x3000 cover", "video h264 1280x720",
                                            "video h264 640x360 default",  "audio aac 6ch",
                                            "audio aac 2ch default",       "audio aac 2ch"};
  EXPECT_EQ(fates(streams, ".mp4", false), "- - K N K N");
  EXPECT_EQ(fates(streams, ".mp4", true), "- K - K K K");
  EXPECT_EQ(fates({"video mjpeg 600x600 cover", "video h264 320x240", "audio aac 2ch", "audio aac 2ch"},
                  ".mkv", false),
            "- K K N");

  MediaInfo plain;
  plain.tracks = tracks_from({"video h264 640x360", "audio aac 2ch"});
  for (bool all : {false, true}) {
    const TrackPlan plan = TrackPlan::For(plain, ".flv", all);
    EXPECT_FALSE(plan.DropsSomething());
    EXPECT_EQ(plan.Kept().video * 10 + plan.Kept().audio.at(0), 1);
  }
}

// Every kept audio track counts in the estimate; the usual plan counts one, as it
// always did, even for an input without audio.
TEST(TrackPlan, TheEstimateCountsEveryKeptAudioTrack) {
  MediaInfo info = media_info_from({{"HasVideo", "true"},
                                    {"HasAudio", "true"},
                                    {"Width", "1920"},
                                    {"Height", "1080"},
                                    {"VideoBitrate", "8000000"},
                                    {"AudioBitrate", "192000"},
                                    {"VideoFramerate", "25"},
                                    {"OverallDuration", "10"}});
  info.tracks = tracks_from({"video h264 1920x1080", "audio aac 2ch", "audio aac 2ch", "subtitle subrip"});
  const auto estimate = [&info](const char* format, bool all) {
    return FFmpegCmdGenerator::PlanOutput(info, "95", format, all).estimatedBytes;
  };
  EXPECT_EQ(estimate(".mp4", false), (2500000 + 128000) * 10 / 8);
  EXPECT_EQ(estimate(".mkv", true), (2500000 + 2 * 128000) * 10 / 8);
  EXPECT_EQ(estimate(".flv", true), (2500000 + 128000) * 10 / 8);
  info.tracks.erase(info.tracks.begin() + 1, info.tracks.begin() + 3);
  info.hasAudio = false;
  EXPECT_EQ(estimate(".mp4", false), (2500000 + 128000) * 10 / 8);
  EXPECT_EQ(estimate(".mp4", true), 2500000 * 10 / 8);
}

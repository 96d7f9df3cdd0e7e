#include <gtest/gtest.h>

#include "planning/FFmpegCmdGenerator.h"

namespace {

// A probed 1920x1080 file at 8 Mbit/s video, 192 kbit/s audio and 29.97 frames per second.
MediaInfo fullHd(std::initializer_list<std::pair<const std::string, std::string>> changes = {}) {
  MediaInfo info = {{"HasVideo", "true"},
                    {"HasAudio", "true"},
                    {"Width", "1920"},
                    {"Height", "1080"},
                    {"VideoBitrate", "8000000"},
                    {"AudioBitrate", "192000"},
                    {"VideoFramerate", "29.970030"},
                    {"pix_fmt", "yuv420p"}};
  for (const auto& c : changes) info[c.first] = c.second;
  return info;
}

FFmpegParams params(const MediaInfo& info, const std::string& quality) {
  return FFmpegCmdGenerator::ParamsFor(info, "/in/a.mov", "/out/a.mp4", quality);
}

// Size, bitrates and frame rate in one text.
std::string outline(const FFmpegParams& p) {
  return p.at("Width") + "x" + p.at("Height") + " " + p.at("VideoBitrate") + " " + p.at("AudioBitrate") +
         " " + p.at("VideoFramerate");
}

}  // namespace

TEST(FFmpegParams, TakesTheSmallerOfInputAndTarget) {
  EXPECT_EQ(outline(params(fullHd(), "95")), "1920x1080 2500000 128000 24.000");
  EXPECT_EQ(params(fullHd(), "95").at("Preset"), "medium");
  const std::pair<MediaInfo, const char*> cases[] = {
      {fullHd(), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoBitrate", "900000"}, {"AudioBitrate", "32000"}}), "1280x720 900000 32000 24.000"},
      // Bitrates not reported (0, N/A, absent, absurd) take the target.
      {fullHd({{"VideoBitrate", "0"}, {"AudioBitrate", "N/A"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoBitrate", ""}, {"AudioBitrate", "99999999999"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoFramerate", "23.976024"}}), "1280x720 1600000 64000 23.976"},
      {fullHd({{"VideoFramerate", "30.000000"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoFramerate", "0"}}), "1280x720 1600000 64000 24.000"},  // not reported
      {fullHd({{"VideoFramerate", "N/A"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoFramerate", " 12.5"}}), "1280x720 1600000 64000 12.500"},
      {fullHd({{"Height", "800"}}), "1280x534 1600000 64000 24.000"},  // 533.3 -> 533 -> even
      {fullHd({{"Width", "1918"}}), "1280x720 1600000 64000 24.000"},  // 720.75 truncated
      {fullHd({{"Width", "1440"}}), "854x640 820000 48000 24.000"},    // 720p: 640.5 truncated
      {fullHd({{"Width", "854"}}), "0x0 0 0 0.000"},                   // 480p has no "85"
      // Figures no real input has count as not reported: no negative bitrate, no
      // zero height, no zero frame rate reaches the encoder.
      {fullHd({{"VideoBitrate", "-8000000"}, {"AudioBitrate", "-1"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "inf"}, {"VideoFramerate", "nan"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "-1080"}, {"VideoFramerate", "-29.97"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "99999"}, {"VideoFramerate", "inf"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "0"}, {"VideoFramerate", "0.0001"}}), "1280x720 1600000 64000 24.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(outline(params(c.first, "85")), c.second);
  EXPECT_EQ(params(fullHd({{"Width", "853"}, {"Height", "480"}}), "95").at("Width"), "854");
  EXPECT_EQ(params(fullHd({{"Width", "4500"}, {"Height", "2250"}}), "70").at("Height"), "960");
}

TEST(FFmpegParams, CopiesAudioAndRotation) {
  const FFmpegParams rotated = params(fullHd({{"Rotate", "90"}, {"HasAudio", "false"}}), "95");
  EXPECT_EQ(rotated.at("HasRotate") + rotated.at("Rotate") + rotated.at("HasAudio"), "true90false");
  EXPECT_EQ(rotated.at("Width") + "x" + rotated.at("Height"), "1920x1080");  // coded size
}

TEST(FFmpegParams, RefusedInputsKeepOnlyThePaths) {
  const std::pair<MediaInfo, std::string> cases[] = {
      {fullHd({{"HasVideo", "false"}}),
       "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:/in/a.mov\n"},
      {fullHd({{"Width", "4501"}}),
       "Error,FFmpegCmdGenerator::Generate, video width>4500, not supported now!\n"},
      {fullHd({{"Width", "479"}}),
       "Error,FFmpegCmdGenerator::Generate, video width<480, not supported now!\n"}};
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    const FFmpegParams p = params(c.first, "95");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.second);
    EXPECT_EQ(p, (FFmpegParams{{"InputFile", "/in/a.mov"}, {"OutputFile", "/out/a.mp4"}}));
  }
}

#include <gtest/gtest.h>

#include "planning/FFmpegCmdGenerator.h"

namespace {

// A probed 1920x1080 file at 8 Mbit/s video, 192 kbit/s audio and 29.97 frames per second.
MediaInfo fullHd() {
  return {{"HasVideo", "true"},
          {"HasAudio", "true"},
          {"Width", "1920"},
          {"Height", "1080"},
          {"VideoBitrate", "8000000"},
          {"AudioBitrate", "192000"},
          {"VideoFramerate", "29.970030"},
          {"pix_fmt", "yuv420p"}};
}

MediaInfo with(MediaInfo info, const std::string& key, const std::string& value) {
  info[key] = value;
  return info;
}

FFmpegParams params(const MediaInfo& info, const std::string& quality) {
  return FFmpegCmdGenerator::ParamsFor(info, "/in/a.mov", "/out/a.mp4", quality);
}

std::string size(const FFmpegParams& p) { return p.at("Width") + "x" + p.at("Height"); }

}  // namespace

TEST(FFmpegParams, TakesTheSmallerOfInputAndTarget) {
  EXPECT_EQ(params(fullHd(), "95"), (FFmpegParams{{"InputFile", "/in/a.mov"},
                                                  {"OutputFile", "/out/a.mp4"},
                                                  {"Preset", "medium"},
                                                  {"VideoBitrate", "2500000"},
                                                  {"AudioBitrate", "128000"},
                                                  {"VideoFramerate", "24.000"},
                                                  {"Width", "1920"},
                                                  {"Height", "1080"},
                                                  {"HasAudio", "true"},
                                                  {"pix_fmt", "yuv420p"},
                                                  {"HasRotate", "false"}}));
  const FFmpegParams p85 = params(fullHd(), "85");
  EXPECT_EQ(size(p85), "1280x720");
  EXPECT_EQ(p85.at("VideoBitrate"), "1600000");
  EXPECT_EQ(p85.at("AudioBitrate"), "64000");

  // Inputs below the target keep their own values.
  const FFmpegParams low =
      params(with(with(fullHd(), "VideoBitrate", "900000"), "AudioBitrate", "32000"), "95");
  EXPECT_EQ(low.at("VideoBitrate"), "900000");
  EXPECT_EQ(low.at("AudioBitrate"), "32000");
  // Bitrates the probe did not report (0, N/A, absent, absurd) take the target.
  for (const char* unknown : {"0", "N/A", "", "99999999999"}) {
    const FFmpegParams p =
        params(with(with(fullHd(), "VideoBitrate", unknown), "AudioBitrate", unknown), "95");
    EXPECT_EQ(p.at("VideoBitrate"), "2500000") << unknown;
    EXPECT_EQ(p.at("AudioBitrate"), "128000") << unknown;
  }
}

TEST(FFmpegParams, FrameRatesAndSizes) {
  const std::vector<std::pair<const char*, const char*>> rates = {{"23.976024", "23.976"},
                                                                  {"30.000000", "24.000"},
                                                                  {"0", "0.000"},
                                                                  {"N/A", "0.000"},
                                                                  {"  12.5", "12.500"}};
  for (const auto& r : rates)
    EXPECT_EQ(params(with(fullHd(), "VideoFramerate", r.first), "95").at("VideoFramerate"), r.second)
        << r.first;

  struct SizeCase {
    const char *width, *height, *quality, *expected;
  };
  const SizeCase sizes[] = {
      {"853", "480", "95", "854x480"},      // narrower than the row: kept, then made even
      {"1920", "800", "85", "1280x534"},    // 533.3 -> 533 -> even 534
      {"1440", "1080", "85", "854x640"},    // 720p row 854: 640.5 truncated
      {"1918", "1080", "85", "1280x720"},   // 720.75 truncated
      {"1080", "1920", "95", "1080x1920"},  // portrait, 720p class
      {"4500", "2250", "70", "1920x960"},  {"2050", "1025", "80", "1280x640"},
      {"480", "270", "90", "480x270"},
  };
  for (const SizeCase& s : sizes) {
    EXPECT_EQ(size(params(with(with(fullHd(), "Width", s.width), "Height", s.height), s.quality)), s.expected)
        << s.width << "x" << s.height << " @" << s.quality;
  }
}

TEST(FFmpegParams, CopiesAudioPixelFormatAndRotation) {
  const FFmpegParams rotated = params(with(with(fullHd(), "Rotate", "90"), "HasAudio", "false"), "95");
  EXPECT_EQ(rotated.at("HasRotate"), "true");
  EXPECT_EQ(rotated.at("Rotate"), "90");
  EXPECT_EQ(rotated.at("HasAudio"), "false");
  EXPECT_EQ(size(rotated), "1920x1080");  // the coded size; the command decides about swapping

  MediaInfo sparse = fullHd();
  sparse.erase("HasAudio");
  sparse.erase("pix_fmt");
  const FFmpegParams p = params(sparse, "95");
  EXPECT_EQ(p.at("HasAudio"), "");
  EXPECT_EQ(p.at("pix_fmt"), "");
  EXPECT_EQ(p.count("Rotate"), 0u);
}

TEST(FFmpegParams, UnknownQualityGivesZeros) {
  const FFmpegParams p = params(with(fullHd(), "Width", "854"), "85");  // 480p has no "85"
  EXPECT_EQ(p.at("Preset"), "");
  EXPECT_EQ(p.at("VideoBitrate"), "0");
  EXPECT_EQ(p.at("AudioBitrate"), "0");
  EXPECT_EQ(p.at("VideoFramerate"), "0.000");
  EXPECT_EQ(size(p), "0x0");
}

TEST(FFmpegParams, RefusedInputsKeepOnlyThePaths) {
  const std::vector<std::pair<MediaInfo, std::string>> cases = {
      {with(fullHd(), "HasVideo", "false"),
       "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:/in/a.mov\n"},
      {with(fullHd(), "Width", "4501"),
       "Error,FFmpegCmdGenerator::Generate, video width>4500, not supported now!\n"},
      {with(fullHd(), "Width", "479"),
       "Error,FFmpegCmdGenerator::Generate, video width<480, not supported now!\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    const FFmpegParams p = params(c.first, "95");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.second);
    EXPECT_EQ(p, (FFmpegParams{{"InputFile", "/in/a.mov"}, {"OutputFile", "/out/a.mp4"}}));
  }
}

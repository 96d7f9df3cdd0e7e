#include <gtest/gtest.h>

#include "RecordsFromText.h"
#include "planning/FFmpegCmdGenerator.h"

namespace {

// A probed 1920x1080 file at 8 Mbit/s video, 192 kbit/s audio and 29.97 frames per second.
MediaInfo fullHd(std::initializer_list<std::pair<const std::string, std::string>> changes = {}) {
  Texts info = {{"HasVideo", "true"},
                {"HasAudio", "true"},
                {"Width", "1920"},
                {"Height", "1080"},
                {"VideoBitrate", "8000000"},
                {"AudioBitrate", "192000"},
                {"VideoFramerate", "29.970030"},
                {"pix_fmt", "yuv420p"}};
  for (const auto& c : changes) info[c.first] = c.second;
  return media_info_from(info);
}

Texts params(const MediaInfo& info, const std::string& quality) {
  return FFmpegCmdGenerator::ParamsFor(info, "/in/a.mov", "/out/a.mp4", quality).ToMap();
}

// Size, bitrates and frame rate in one text.
std::string outline(const Texts& p) {
  return p.at("Width") + "x" + p.at("Height") + " " + p.at("VideoBitrate") + " " + p.at("AudioBitrate") +
         " " + p.at("VideoFramerate");
}

}  // namespace

TEST(FFmpegParams, TakesTheSmallerOfInputAndTarget) {
  EXPECT_EQ(outline(params(fullHd(), "95")) + " " + params(fullHd(), "95").at("Preset"),
            "1920x1080 2500000 128000 24.000 medium");
  const std::pair<MediaInfo, const char*> cases[] = {
      {fullHd({{"VideoBitrate", "900000"}, {"AudioBitrate", "32000"}}), "1280x720 900000 32000 24.000"},
      // Bitrates not reported (0, N/A, absent, absurd) take the target.
      {fullHd({{"VideoBitrate", "0"}, {"AudioBitrate", "N/A"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoBitrate", ""}, {"AudioBitrate", "99999999999"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"VideoFramerate", "23.976024"}}), "1280x720 1600000 64000 23.976"},
      {fullHd({{"VideoFramerate", "N/A"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "800"}}), "1280x534 1600000 64000 24.000"},  // 533.3 -> 533 -> even
      {fullHd({{"Width", "1440"}}), "854x640 820000 48000 24.000"},    // 720p: 640.5 truncated
      {fullHd({{"Width", "854"}}), "0x0 0 0 0.000"},                   // 480p has no "85"
      // Figures no real input has count as not reported (negative ones are fed to the
      // whole engine by the hostile-tools test): no zero height or frame rate reaches the encoder.
      {fullHd({{"Height", "inf"}, {"VideoFramerate", "nan"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "0"}, {"VideoFramerate", "0.0001"}}), "1280x720 1600000 64000 24.000"},
      {fullHd({{"Height", "2000000000"}}), "1280x720 1600000 64000 24.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(outline(params(c.first, "85")), c.second);
  EXPECT_EQ(params(fullHd({{"Width", "853"}, {"Height", "480"}}), "95").at("Width"), "854");
  EXPECT_EQ(params(fullHd({{"Width", "4500"}, {"Height", "2250"}}), "70").at("Height"), "960");
}

TEST(FFmpegParams, RefusedInputsKeepOnlyThePaths) {
  const std::pair<MediaInfo, std::string> cases[] = {
      {fullHd({{"HasVideo", "false"}}),
       "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:/in/a.mov\n"},
      {fullHd({{"Width", "4501"}}),
       "Error,FFmpegCmdGenerator::Generate, video width>4500, not supported now!\n"}};
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    const Texts p = params(c.first, "95");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.second);
    EXPECT_EQ(p, (Texts{{"InputFile", "/in/a.mov"}, {"OutputFile", "/out/a.mp4"}}));
  }
}

// What the settings dialogs show before a job exists: the worked examples, each with
// its size estimate over 10 s.
TEST(FFmpegParams, PlanOutputGivesTheOutputAndItsSizeEstimate) {
  const auto plan = [](std::initializer_list<std::pair<const std::string, std::string>> changes,
                       const char* quality, const char* duration = "10.000000") {
    MediaInfo info = fullHd(changes);
    info.overallDuration = MediaFigure(duration);
    const FFmpegCmdGenerator::OutputPlan planned = FFmpegCmdGenerator::PlanOutput(info, quality);
    if (!planned.params.planned) return "refused " + std::to_string(planned.estimatedBytes);
    return outline(planned.params.ToMap()) + " " + std::to_string(planned.estimatedBytes);
  };
  EXPECT_EQ(plan({}, "95"), "1920x1080 2500000 128000 24.000 3285000");
  EXPECT_EQ(plan({}, "85"), "1280x720 1600000 64000 24.000 2080000");
  EXPECT_EQ(plan({{"Width", "853"}, {"Height", "480"}}, "95"), "854x480 1000000 48000 24.000 1310000");
  EXPECT_EQ(plan({{"VideoBitrate", "0"}}, "95"), "1920x1080 2500000 128000 24.000 3285000");
  // A duration that is no positive number gives no estimate; an absurd one, the largest.
  for (const char* none : {"N/A", "nan", "inf", "-5"})
    EXPECT_EQ(plan({}, "95", none).substr(32), "0") << none;
  EXPECT_EQ(plan({}, "95", "1e300").substr(32), "9223372036854775807");
  testing::internal::CaptureStdout();
  EXPECT_EQ(plan({{"Width", "320"}}, "95"), "refused 0");
  testing::internal::GetCapturedStdout();
}

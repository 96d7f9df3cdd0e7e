#include <gtest/gtest.h>

#include "planning/FFmpegCmdGenerator.h"

TEST(QualityLadder, ClassBoundariesAreExact) {
  const std::pair<int, const char*> cases[] = {
      {4501, "b4k"},   {4500, "4k"},    {3000, "4k"},   {2999, "2k"},    {2050, "2k"},
      {2049, "1080p"}, {1600, "1080p"}, {1599, "720p"}, {1000, "720p"},  {999, "480p"},
      {480, "480p"},   {479, "s480p"},  {0, "s480p"},   {-1920, "s480p"}};
  for (const auto& c : cases) EXPECT_EQ(FFmpegCmdGenerator::GetResolutionRange(c.first), c.second) << c.first;
}

TEST(QualityLadder, RefusalsGiveNoQualityAndSayWhy) {
  const std::string too_small =
      "Error,FFmpegCmdGenerator::GetQualitys, video width<480, not supported now!\n";
  const std::pair<MediaInfo, std::string> cases[] = {
      {{{"Width", "4501"}}, "Error,FFmpegCmdGenerator::GetQualitys, video width>4500, not supported now!\n"},
      {{{"Width", "479"}}, too_small},
      {{{"HasVideo", "true"}}, too_small},
      {{{"Width", "N/A"}}, too_small},
      {{{"HasVideo", "false"}, {"Width", "1920"}},
       "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:/m/a b.mp3\n"}};
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(FFmpegCmdGenerator::QualitysFor(c.first, "/m/a b.mp3").empty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.second);
  }
  // Only an explicit "false" refuses: a record without the key counts as video. Portrait
  // 1080x1920 is classed by its width alone.
  EXPECT_EQ(FFmpegCmdGenerator::QualitysFor({{"Width", "1080"}, {"Height", "1920"}}, "p.mp4").front(), "80");
}

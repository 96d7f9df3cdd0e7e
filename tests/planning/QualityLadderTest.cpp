#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "planning/FFmpegCmdGenerator.h"

namespace {

std::vector<std::string> ladder(int from) {
  std::vector<std::string> keys;
  for (int q = from; q <= 99; ++q) keys.push_back(std::to_string(q));
  return keys;
}

MediaInfo videoOfWidth(const std::string& width) {
  return {{"HasVideo", "true"}, {"Width", width}, {"Height", "1080"}};
}

}  // namespace

TEST(QualityLadder, ClassBoundariesAreExact) {
  const std::vector<std::pair<int, const char*>> cases = {
      {4501, "b4k"},   {4500, "4k"},    {3000, "4k"},   {2999, "2k"},    {2050, "2k"},
      {2049, "1080p"}, {1600, "1080p"}, {1599, "720p"}, {1000, "720p"},  {999, "480p"},
      {480, "480p"},   {479, "s480p"},  {0, "s480p"},   {-1920, "s480p"}};
  for (const auto& c : cases) EXPECT_EQ(FFmpegCmdGenerator::GetResolutionRange(c.first), c.second) << c.first;
}

TEST(QualityLadder, OffersTheClassLadderAscending) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"4500", 70}, {"3000", 70}, {"2999", 70}, {"2050", 70}, {"2049", 80}, {"1600", 80},
      {"1599", 80}, {"1000", 80}, {"999", 90},  {"480", 90},  {"1080", 80}};  // 1080 wide portrait: 720p
  for (const auto& c : cases) {
    EXPECT_EQ(FFmpegCmdGenerator::QualitysFor(videoOfWidth(c.first), "in.mp4"), ladder(c.second)) << c.first;
  }
  // Only an explicit "false" refuses: a record without the key counts as video.
  EXPECT_EQ(FFmpegCmdGenerator::QualitysFor({{"Width", "1920"}}, "in.mp4"), ladder(80));
}

TEST(QualityLadder, RefusalsGiveNoQualityAndSayWhy) {
  struct Case {
    MediaInfo info;
    std::string message;
  };
  const std::vector<Case> cases = {
      {videoOfWidth("4501"), "Error,FFmpegCmdGenerator::GetQualitys, video width>4500, not supported now!\n"},
      {videoOfWidth("479"), "Error,FFmpegCmdGenerator::GetQualitys, video width<480, not supported now!\n"},
      {{{"HasVideo", "true"}},
       "Error,FFmpegCmdGenerator::GetQualitys, video width<480, not supported now!\n"},
      {videoOfWidth("N/A"), "Error,FFmpegCmdGenerator::GetQualitys, video width<480, not supported now!\n"},
      // Audio only: refused whatever the other values say.
      {{{"HasVideo", "false"}, {"Width", "1920"}},
       "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:/m/a b.mp3\n"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(FFmpegCmdGenerator::QualitysFor(c.info, "/m/a b.mp3").empty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
  }
}

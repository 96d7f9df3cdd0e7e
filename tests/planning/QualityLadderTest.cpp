#include <gtest/gtest.h>

#include "RecordsFromText.h"
#include "planning/FFmpegCmdGenerator.h"

// Ladder lengths are checked on real clips; 4k/2k and 1080p/720p start at the same
// quality, so only the class names show those borders.
TEST(QualityLadder, ClassBordersAndRefusals) {
  const std::pair<int, const char*> cases[] = {
      {4501, "b4k"},   {4500, "4k"},   {3000, "4k"},  {2999, "2k"},   {2049, "1080p"},
      {1600, "1080p"}, {1599, "720p"}, {999, "480p"}, {479, "s480p"}, {-1920, "s480p"}};
  for (const auto& c : cases) EXPECT_EQ(FFmpegCmdGenerator::GetResolutionRange(c.first), c.second) << c.first;

  const std::pair<Texts, std::string> refusals[] = {
      {{{"HasVideo", "true"}, {"Width", "N/A"}},
       "Error,FFmpegCmdGenerator::GetQualitys, video width<480, not supported now!\n"},
      {{{"HasVideo", "false"}, {"Width", "1920"}},
       "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:/m/a b.mp3\n"}};
  for (const auto& c : refusals) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(FFmpegCmdGenerator::QualitysFor(media_info_from(c.first), "/m/a b.mp3").empty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.second);
  }
  // A portrait 1080x1920 is classed by its width.
  const MediaInfo portrait = media_info_from({{"HasVideo", "true"}, {"Width", "1080"}, {"Height", "1920"}});
  EXPECT_EQ(FFmpegCmdGenerator::QualitysFor(portrait, "p.mp4").front(), "80");
}

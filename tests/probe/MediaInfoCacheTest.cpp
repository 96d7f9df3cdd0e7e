#include <gtest/gtest.h>

#include <QFile>

#include "probe/FFprobeUtil.h"
#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {
std::string clipOfWidth(const std::string& folder, const std::string& name, int width) {
  ClipSpec spec;
  spec.width = width;
  spec.height = 120;
  spec.seconds = 1;
  spec.audio = false;
  return make_clip(folder, name, spec);
}
}  // namespace

TEST(MediaInfoCache, ProbesEachPathOnceAndKeepsTheFirstRecord) {
  const std::string folder = make_temp_folder("cache");
  const std::string clip = clipOfWidth(folder, "a.mp4", 320);
  ASSERT_FALSE(clip.empty());
  MediaInfoCache& cache = MediaInfoCache::GetInstance();
  EXPECT_EQ(cache.GetMediaInfo(clip).width.Text(), "320");
  // Replaced on disk: a second probe would see the new width, the cache must not.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(clip)));
  ASSERT_FALSE(clipOfWidth(folder, "a.mp4", 160).empty());
  EXPECT_EQ(FFprobeUtil::GetMediaInfo(clip).width.Text(), "160");
  EXPECT_EQ(cache.GetMediaInfo(clip).width.Text(), "320");
  // A missing path is remembered as not media, even once it appears.
  const std::string later = folder + "/later.mp4";
  EXPECT_FALSE(cache.GetMediaInfo(later).isMediaFile);
  ASSERT_TRUE(QFile::copy(QString::fromStdString(clip), QString::fromStdString(later)));
  EXPECT_FALSE(cache.GetMediaInfo(later).isMediaFile);
}

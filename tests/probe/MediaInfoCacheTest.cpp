#include <gtest/gtest.h>

#include <QFile>
#include <thread>

#include "probe/FFprobeUtil.h"
#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {

ClipSpec smallClip(int width, int height) {
  ClipSpec spec;
  spec.width = width;
  spec.height = height;
  spec.seconds = 1;
  spec.audio = false;
  return spec;
}

}  // namespace

TEST(MediaInfoCache, ProbesEachPathOnceAndKeepsTheFirstRecord) {
  const std::string folder = make_temp_folder("cache-once");
  const std::string clip = make_clip(folder, "a.mp4", smallClip(320, 240));
  ASSERT_FALSE(clip.empty());
  MediaInfoCache& cache = MediaInfoCache::GetInstance();
  EXPECT_EQ(cache.GetMediaInfo(clip).at("Width"), "320");

  // Replace the file: a second probe would see the new width, the cache must not.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(clip)));
  ASSERT_FALSE(make_clip(folder, "a.mp4", smallClip(160, 120)).empty());
  EXPECT_EQ(FFprobeUtil::GetMediaInfo(clip).at("Width"), "160");
  EXPECT_EQ(cache.GetMediaInfo(clip).at("Width"), "320");

  // Keys are compared byte for byte.
  const std::string upper = make_clip(folder, "A.mp4", smallClip(160, 120));
  ASSERT_FALSE(upper.empty());
  EXPECT_EQ(cache.GetMediaInfo(upper).at("Width"), "160");
  EXPECT_EQ(cache.GetMediaInfo(clip).at("Width"), "320");
}

TEST(MediaInfoCache, MissingPathStaysNotMediaAfterItAppears) {
  const std::string folder = make_temp_folder("cache-missing");
  const std::string path = folder + "/later.mp4";
  MediaInfoCache& cache = MediaInfoCache::GetInstance();
  EXPECT_EQ(cache.GetMediaInfo(path).at("IsMediaFile"), "false");
  ASSERT_FALSE(make_clip(folder, "later.mp4", smallClip(160, 120)).empty());
  const MediaInfo again = cache.GetMediaInfo(path);
  EXPECT_EQ(again.at("IsMediaFile"), "false");
  EXPECT_EQ(again.at("MediaFileName"), path);
}

TEST(MediaInfoCache, ConcurrentFirstRequestsAllGetCompleteRecords) {
  const std::string folder = make_temp_folder("cache-threads");
  const std::string clip = make_clip(folder, "t.mp4", smallClip(320, 240));
  ASSERT_FALSE(clip.empty());
  std::vector<MediaInfo> results(4);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&, i] { results[i] = MediaInfoCache::GetInstance().GetMediaInfo(clip); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const MediaInfo& info : results) {
    EXPECT_EQ(info.at("Width"), "320");
    EXPECT_EQ(info.at("HasVideo"), "true");
  }
}

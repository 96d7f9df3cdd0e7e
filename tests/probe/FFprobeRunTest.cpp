#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "Util/OSUtil.h"
#include "probe/FFprobeUtil.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

TEST(FFprobeRun, ProbesAGeneratedClipThroughTheShippedTool) {
  const std::string probe = FFprobeUtil::GetProbePath();
  EXPECT_EQ(probe, OSUtil::getAppDir() + "/bin/mediainfo");
  ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(probe)));

  const std::string folder = make_temp_folder("probe-run");
  ClipSpec spec;
  spec.width = 320;
  spec.height = 240;
  const std::string clip = make_clip(folder, "clip.mp4", spec);
  ASSERT_FALSE(clip.empty());

  const MediaInfo info = FFprobeUtil::GetMediaInfo(clip);
  EXPECT_EQ(info.at("MediaFileName"), clip);
  EXPECT_EQ(info.at("IsMediaFile"), "true");
  EXPECT_EQ(info.at("Width"), "320");
  EXPECT_EQ(info.at("Height"), "240");
  EXPECT_EQ(info.at("VideoCodec"), "h264");
  EXPECT_EQ(info.at("AudioCodec"), "aac");
  EXPECT_EQ(info.at("VideoFramerate"), "25.000000");
  EXPECT_EQ(info.at("VideoBitrate"), probe_entry(clip, "v:0", "bit_rate"));
  EXPECT_EQ(info.at("FileSize"), std::to_string(QFileInfo(QString::fromStdString(clip)).size()));
  EXPECT_EQ(info.at("pix_fmt"), "yuv420p");
  EXPECT_EQ(info.count("Rotate"), 0u);
}

TEST(FFprobeRun, RotatedClipsReportTheirTag) {
  const std::string folder = make_temp_folder("probe-rotate");
  for (int degrees : {90, 270}) {
    ClipSpec spec;
    spec.width = 160;
    spec.height = 120;
    spec.seconds = 1;
    spec.audio = false;
    spec.rotate = degrees;
    const std::string clip = make_clip(folder, "r" + std::to_string(degrees) + ".mp4", spec);
    ASSERT_FALSE(clip.empty());
    const MediaInfo info = FFprobeUtil::GetMediaInfo(clip);
    ASSERT_EQ(info.count("Rotate"), 1u) << degrees;
    EXPECT_EQ(info.at("Rotate"), std::to_string(degrees));
  }
}

TEST(FFprobeRun, AwkwardFileNamesReachTheProbeIntact) {
  const std::string folder = make_temp_folder("probe name's \"dir\"");
  ClipSpec spec;
  spec.width = 160;
  spec.height = 120;
  spec.seconds = 1;
  for (const char* name : {"a \"b\" c's $HOME \xC3\xBCn\xC3\xAF \xE8\xA7\x86\xE9\xA2\x91.mp4",
                           "\"quoted\".mp4", "-dash `x` ; & | * ?.mp4", "trailing quote\".mp4"}) {
    const std::string clip = make_clip(folder, name, spec);
    ASSERT_FALSE(clip.empty()) << name;
    const MediaInfo info = FFprobeUtil::GetMediaInfo(clip);
    EXPECT_EQ(info.at("HasVideo"), "true") << name;
    EXPECT_EQ(info.at("Width"), "160") << name;
    EXPECT_EQ(info.at("MediaFileName"), clip);
  }
}

TEST(FFprobeRun, NonMediaGivesTheDefaults) {
  const std::string folder = make_temp_folder("probe-none");
  const std::string text = folder + "/notes.txt";
  QFile file(QString::fromStdString(text));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a video\n");
  file.close();

  for (const std::string& path : {text, folder + "/missing.mp4"}) {
    MediaInfo expected;
    FFprobeUtil::InitMediaInfo(expected);
    expected["MediaFileName"] = path;
    EXPECT_EQ(FFprobeUtil::GetMediaInfo(path), expected);
  }
}

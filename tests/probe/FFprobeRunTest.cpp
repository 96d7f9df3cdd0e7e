#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "platform/OSUtil.h"
#include "probe/FFprobeUtil.h"
#include "support/AwkwardNames.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {

ClipSpec tinyClip(int rotate = 0) {
  ClipSpec spec;
  spec.width = 160;
  spec.height = 120;
  spec.seconds = 1;
  spec.rotate = rotate;
  return spec;
}

}  // namespace

TEST(FFprobeRun, ProbesGeneratedClipsThroughTheShippedTool) {
  EXPECT_EQ(FFprobeUtil::GetProbePath(), tool_path("mediainfo"));
  const std::string folder = make_temp_folder("probe-run");
  const std::string clip = make_clip(folder, "clip.mp4", tinyClip());
  ASSERT_FALSE(clip.empty());
  const auto info = FFprobeUtil::GetMediaInfo(clip).ToMap();
  EXPECT_EQ(info.at("MediaFileName"), clip);
  EXPECT_EQ(info.at("Width") + "x" + info.at("Height"), "160x120");
  EXPECT_EQ(info.at("VideoCodec") + "/" + info.at("AudioCodec"), "h264/aac");
  EXPECT_EQ(info.at("VideoBitrate"), probe_entry(clip, "v:0", "bit_rate"));
  EXPECT_EQ(info.at("FileSize"), std::to_string(QFileInfo(QString::fromStdString(clip)).size()));
  EXPECT_EQ(info.count("Rotate"), 0u);

  // The real probe reports a quarter turn as -90 in side data (other forms: FFprobeParse).
  const auto turned = FFprobeUtil::GetMediaInfo(make_clip(folder, "r90.mp4", tinyClip(90))).ToMap();
  EXPECT_EQ(turned.count("Rotate") ? turned.at("Rotate") : "none", "90");

  // Not media, or not there: the defaults with the name.
  const std::string text = folder + "/notes.txt";
  QFile file(QString::fromStdString(text));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a video\n") > 0);
  file.close();
  for (const std::string& path : {text, folder + "/missing.mp4"}) {
    MediaInfo expected;
    FFprobeUtil::InitMediaInfo(expected);
    expected.mediaFileName = path;
    EXPECT_EQ(FFprobeUtil::GetMediaInfo(path).ToMap(), expected.ToMap());
  }
}

TEST(FFprobeRun, AwkwardFileNamesReachTheProbeIntact) {
  const std::string folder = make_temp_folder(awkward_names().folder);
  for (const std::string& name : awkward_names().probed) {
    const std::string clip = make_clip(folder, name, tinyClip());
    ASSERT_FALSE(clip.empty()) << name;
    const auto info = FFprobeUtil::GetMediaInfo(clip).ToMap();
    EXPECT_EQ(info.at("Width"), "160") << name;
    EXPECT_EQ(info.at("MediaFileName"), clip);
  }
}

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "platform/OSUtil.h"
#include "probe/FFprobeUtil.h"
#include "support/AwkwardNames.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "support/TrackFixtures.h"

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

TEST(FFprobeRun, ListsEveryTrackOfAGeneratedFile) {
  const std::string clip = make_multitrack_clip(make_temp_folder("probe-tracks"));
  ASSERT_FALSE(clip.empty());
  const MediaInfo info = FFprobeUtil::GetMediaInfo(clip);
  std::string listed;
  for (const MediaTrack& track : info.tracks) {
    listed += std::to_string(track.index) + ":" + std::to_string(static_cast<int>(track.kind)) + ":" +
              track.codec + ":" + track.language + ":" + track.title + ":" + (track.forced ? "F" : "") +
              std::to_string(track.channels) + " ";
  }
  // Kinds: 0 video, 1 audio, 2 subtitle, 4 attachment.
  EXPECT_EQ(listed,
            "0:0:h264:::0 1:1:aac:eng:English:1 2:1:aac:ger:Deutsch = gut:2 3:2:subrip:eng::F0 "
            "4:2:hdmv_pgs_subtitle:fre::0 5:2:dvd_subtitle:::0 6:2:dvb_subtitle:::0 7:4:ttf:::0 ");
  // Matroska gives the lengths as tags only.
  EXPECT_NEAR(info.tracks[2].duration.AsDouble(), 2.0, 0.1);
  // The record's first audio is still the first track, whatever the encoder would pick.
  EXPECT_EQ(info.audioChannel.AsInt(), 1);
}

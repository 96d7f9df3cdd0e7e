#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QFileInfo>

#include "Util/OSUtil.h"
#include "probe/FFprobeUtil.h"
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

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

}  // namespace

TEST(FFprobeRun, ProbesGeneratedClipsThroughTheShippedTool) {
  EXPECT_EQ(FFprobeUtil::GetProbePath(), OSUtil::getAppDir() + "/bin/mediainfo");
  const std::string folder = make_temp_folder("probe-run");
  const std::string clip = make_clip(folder, "clip.mp4", tinyClip());
  ASSERT_FALSE(clip.empty());
  const MediaInfo info = FFprobeUtil::GetMediaInfo(clip);
  EXPECT_EQ(info.at("MediaFileName"), clip);
  EXPECT_EQ(info.at("Width") + "x" + info.at("Height"), "160x120");
  EXPECT_EQ(info.at("VideoCodec") + "/" + info.at("AudioCodec"), "h264/aac");
  EXPECT_EQ(info.at("VideoBitrate"), probe_entry(clip, "v:0", "bit_rate"));
  EXPECT_EQ(info.at("FileSize"), std::to_string(QFileInfo(QString::fromStdString(clip)).size()));
  EXPECT_EQ(info.count("Rotate"), 0u);

  for (int degrees : {90, 270}) {
    const std::string rotated = make_clip(folder, "r" + std::to_string(degrees) + ".mp4", tinyClip(degrees));
    ASSERT_FALSE(rotated.empty());
    const MediaInfo turned = FFprobeUtil::GetMediaInfo(rotated);
    EXPECT_EQ(turned.count("Rotate") ? turned.at("Rotate") : "none", std::to_string(degrees));
  }

  // Not media, or not there: the defaults with the name.
  const std::string text = folder + "/notes.txt";
  QFile file(QString::fromStdString(text));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a video\n") > 0);
  file.close();
  for (const std::string& path : {text, folder + "/missing.mp4"}) {
    MediaInfo expected;
    FFprobeUtil::InitMediaInfo(expected);
    expected["MediaFileName"] = path;
    EXPECT_EQ(FFprobeUtil::GetMediaInfo(path), expected);
  }
}

TEST(FFprobeRun, AwkwardFileNamesReachTheProbeIntact) {
  const std::string folder = make_temp_folder("probe name's \"dir\"");
  for (const char* name : {"a \"b\" c's $HOME \xC3\xBCn\xC3\xAF \xE8\xA7\x86\xE9\xA2\x91.mp4",
                           "\"quoted\".mp4", "-dash `x` ; & | *.mp4"}) {
    const std::string clip = make_clip(folder, name, tinyClip());
    ASSERT_FALSE(clip.empty()) << name;
    const MediaInfo info = FFprobeUtil::GetMediaInfo(clip);
    EXPECT_EQ(info.at("Width"), "160") << name;
    EXPECT_EQ(info.at("MediaFileName"), clip);
  }
}

TEST(FFprobeRun, AFloodedContainerTagIsNeitherSlowNorARotation) {
  const std::string folder = make_temp_folder("probe-flood");
  const std::string clip = make_clip(folder, "clip.mp4", tinyClip());
  ASSERT_FALSE(clip.empty());
  // A container tag "xrotate" holding "coded_width" 300 000 times (3.3 MB), a word
  // the parser removes from every video line.
  QByteArray tag = ";FFMETADATA1\nxrotate=";
  for (int i = 0; i < 300000; ++i) tag += "coded_width";
  QFile meta(QString::fromStdString(folder + "/meta.txt"));
  ASSERT_TRUE(meta.open(QIODevice::WriteOnly) && meta.write(tag + "\n") > 0);
  meta.close();
  const std::string flooded = folder + "/flooded.mp4";
  int code = -1;
  const std::string out = run_and_capture(
      "ffmpeg",
      "-y\n-loglevel\nerror\n-i\n" + clip + "\n-i\n" + folder +
          "/meta.txt\n-map\n0\n-map_metadata\n1\n-c\ncopy\n-movflags\nuse_metadata_tags\n" + flooded,
      true, 120000, &code);
  ASSERT_EQ(code, 0) << out;

  const double before = cpu_seconds();
  const MediaInfo info = FFprobeUtil::GetMediaInfo(flooded);
  const double used = cpu_seconds() - before;
  EXPECT_EQ(info.at("Width") + "x" + info.at("Height") + " " + info.at("VideoCodec"), "160x120 h264");
  EXPECT_EQ(info.count("Rotate"), 0u);
  // Reading the report costs this program about 0.1 s of processor time (the probe
  // tool's own time is not counted); a search restarted after every hit took ten.
  EXPECT_LT(used, 1.0);
}

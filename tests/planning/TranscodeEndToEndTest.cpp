#include <gtest/gtest.h>

#include <QDir>

#include "planning/FFmpegCmdGenerator.h"
#include "process/CommandLine.h"
#include "support/AwkwardNames.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

namespace {

std::vector<std::string> ladder(int from) {
  std::vector<std::string> keys;
  for (int q = from; q <= 99; ++q) keys.push_back(std::to_string(q));
  return keys;
}

ClipSpec spec(int width, int height, int fps, bool audio = true) {
  ClipSpec s;
  s.width = width;
  s.height = height;
  s.fps = fps;
  s.audio = audio;
  s.seconds = 1;
  return s;
}

std::string rotationOf(const std::string& path) {
  std::string out = run_and_capture(tool_path("mediainfo"),
                                    "-v\nerror\n-select_streams\nv:0\n-show_entries\n"
                                    "stream_side_data=rotation\n-of\ncsv=p=0\n" +
                                        path);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// Generates the command, runs the encoder and checks the output: coded size, frame
// rate, codecs, pixel format.
void transcode(const std::string& input, const std::string& output, const std::string& quality,
               const std::string& size, const std::string& rate, bool audio) {
  SCOPED_TRACE(output);
  std::string log;
  ASSERT_EQ(run_command(FFmpegCmdGenerator::Generate(input, output, quality), &log), 0) << log;
  EXPECT_EQ(probe_entry(output, "v:0", "width") + "x" + probe_entry(output, "v:0", "height"), size);
  EXPECT_EQ(probe_entry(output, "v:0", "r_frame_rate"), rate);
  EXPECT_EQ(probe_entry(output, "v:0", "codec_name") + " " + probe_entry(output, "v:0", "pix_fmt"),
            "h264 yuv420p");
  EXPECT_EQ(probe_entry(output, "a:0", "codec_name"), audio ? "aac" : "");
}

}  // namespace

TEST(TranscodeEndToEnd, LadderFollowsTheProbedWidth) {
  const std::string dir = make_temp_folder("plan_e2e");
  const std::pair<int, int> cases[] = {{479, 100}, {480, 90},  {1000, 80},
                                       {2050, 70}, {4500, 70}, {4501, 100}};
  for (const auto& c : cases) {
    // One frame of raw grey video, scaled because the source rounds odd widths.
    ClipSpec s = spec(c.first, 4, 1, false);
    s.video_codec = "rawvideo";
    s.pix_fmt = "gray";
    s.extra_args = "-vf\nscale=" + std::to_string(c.first) + ":4";
    const std::string clip = make_clip(dir, "w" + std::to_string(c.first) + ".nut", s);
    EXPECT_EQ(FFmpegCmdGenerator::GetQualitys(clip), ladder(c.second)) << c.first;
  }
  ClipSpec sound = spec(0, 0, 1);
  sound.video = false;
  EXPECT_TRUE(FFmpegCmdGenerator::GetQualitys(make_clip(dir, "sound.m4a", sound)).empty());
}

TEST(TranscodeEndToEnd, AwkwardNamesReachTheEncoderIntact) {
  const std::string dir = make_temp_folder("plan_e2e");
  const std::string input = make_clip(dir, awkward_names().input, spec(640, 360, 10));
  ASSERT_EQ(FFmpegCmdGenerator::GetQualitys(input), ladder(90));
  transcode(input, dir + "/" + awkward_names().output, "95", "640x360", "10/1", true);
  EXPECT_EQ(QDir(QString::fromStdString(dir)).entryList(QDir::Files).size(), 2);
}

TEST(TranscodeEndToEnd, ScalesDownKeepsRateAndDropsMissingAudio) {
  const std::string dir = make_temp_folder("plan_e2e");
  ClipSpec ten_bit = spec(854, 480, 30);
  ten_bit.pix_fmt = "yuv420p10le";
  transcode(make_clip(dir, "tenbit.mkv", ten_bit), dir + "/tenbit.mp4", "90", "854x480", "24/1", true);
  const std::string uhd = make_clip(dir, "uhd.mp4", spec(3840, 2160, 1, false));
  ASSERT_EQ(FFmpegCmdGenerator::GetQualitys(uhd), ladder(70));
  transcode(uhd, dir + "/uhd.mp4.mp4", "70", "1920x1080", "1/1", false);
}

// MP4 keeps the coded frames and the rotation; other containers get upright frames.
TEST(TranscodeEndToEnd, RotatedInputShowsUpright) {
  const std::string dir = make_temp_folder("plan_e2e");
  const std::string plain = make_clip(dir, "plain.mp4", spec(1280, 720, 5));
  ClipSpec turned = spec(1280, 720, 5);
  turned.rotate = 90;
  const std::string input = make_clip(dir, "rotated.mp4", turned);
  ASSERT_NE(rotationOf(input), "");

  transcode(input, dir + "/rotated.out.mp4", "85", "854x480", "5/1", true);
  EXPECT_EQ(rotationOf(dir + "/rotated.out.mp4"), rotationOf(input));
  transcode(input, dir + "/rotated.out.mkv", "85", "480x854", "5/1", true);
  EXPECT_EQ(rotationOf(dir + "/rotated.out.mkv"), "");
  transcode(plain, dir + "/plain.out.mp4", "85", "854x480", "5/1", true);
  EXPECT_EQ(rotationOf(dir + "/plain.out.mp4"), "");
}

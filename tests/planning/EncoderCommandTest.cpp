#include <gtest/gtest.h>

#include <QStringList>

#include "Util/AppConstants.h"
#include "Util/CmdUtil.h"
#include "Util/OSUtil.h"
#include "planning/FFmpegCmdGenerator.h"

namespace {

// What a 1920x1080 input with audio at quality "85" is planned to.
FFmpegParams planned(const std::string& output = "/out/a.mp4") {
  return {{"InputFile", "/in/a.mov"},  {"OutputFile", output},    {"Preset", "medium"},
          {"VideoBitrate", "1600000"}, {"AudioBitrate", "64000"}, {"VideoFramerate", "24.000"},
          {"Width", "1280"},           {"Height", "720"},         {"HasAudio", "true"},
          {"pix_fmt", "yuv420p"},      {"HasRotate", "false"}};
}

FFmpegParams with(FFmpegParams p, const std::string& key, const std::string& value) {
  p[key] = value;
  return p;
}

bool has(const std::string& command, const std::string& part) {
  return command.find(part) != std::string::npos;
}

}  // namespace

TEST(EncoderCommand, Mp4CommandReadsExactly) {
  const std::string encoder = FFmpegCmdGenerator::GetEncoderPath();
  EXPECT_EQ(encoder, OSUtil::getAppDir() + "/bin/encoder");
  EXPECT_TRUE(OSUtil::isFileExist(encoder));
  EXPECT_EQ(FFmpegCmdGenerator::CommandFor(planned()),
            "\"" + encoder + "\" -y -i \"/in/a.mov\" -metadata encoding_tool=Lavf58.29.10_KV" +
                get_current_version() +
                " -movflags +faststart -acodec aac -b:a 64000 -vcodec h264 -preset medium -s 1280x720"
                " -b:v 1600000 -r 24.000 \"/out/a.mp4\"");
}

TEST(EncoderCommand, ContainerAudioAndPixelFormatOptions) {
  const std::string silent = FFmpegCmdGenerator::CommandFor(with(planned(), "HasAudio", "false"));
  EXPECT_TRUE(has(silent, " -an -vcodec h264 -preset medium "));
  EXPECT_FALSE(has(silent, "-acodec"));

  for (const char* output : {"/out/a.mkv", "/out/a.MP4", "/out/a.mp4.flv"}) {
    const std::string command = FFmpegCmdGenerator::CommandFor(planned(output));
    EXPECT_FALSE(has(command, "-movflags")) << output;
    EXPECT_FALSE(has(command, "-noautorotate")) << output;
  }

  for (const char* ten_bit : {"yuv420p10le", "yuv422p10le"}) {
    EXPECT_TRUE(has(FFmpegCmdGenerator::CommandFor(with(planned(), "pix_fmt", ten_bit)),
                    "\"/in/a.mov\" -pix_fmt yuv420p -metadata "))
        << ten_bit;
  }
  for (const char* other : {"yuv420p", "yuv444p10le", ""}) {
    EXPECT_FALSE(has(FFmpegCmdGenerator::CommandFor(with(planned(), "pix_fmt", other)), "-pix_fmt")) << other;
  }
}

TEST(EncoderCommand, RotationKeepsMp4CodedAndTurnsOthersUpright) {
  const FFmpegParams quarter = with(with(planned(), "HasRotate", "true"), "Rotate", "90");
  const std::string mp4 = FFmpegCmdGenerator::CommandFor(quarter);
  EXPECT_TRUE(has(mp4, "\" -noautorotate -y -i \""));
  EXPECT_TRUE(has(mp4, " -s 1280x720 "));

  EXPECT_TRUE(has(FFmpegCmdGenerator::CommandFor(with(quarter, "OutputFile", "/o/a.mkv")), " -s 720x1280 "));
  EXPECT_TRUE(has(FFmpegCmdGenerator::CommandFor(with(quarter, "OutputFile", "/o/a.MP4")), " -s 720x1280 "));
  EXPECT_TRUE(
      has(FFmpegCmdGenerator::CommandFor(with(with(quarter, "Rotate", "270"), "OutputFile", "/o/a.ts")),
          " -s 720x1280 "));
  const std::string half =
      FFmpegCmdGenerator::CommandFor(with(with(quarter, "Rotate", "180"), "OutputFile", "/o/a.mkv"));
  EXPECT_TRUE(has(half, " -s 1280x720 "));
  EXPECT_FALSE(has(half, "-noautorotate"));
}

// A file name must come back from the command line as exactly one argument, or it
// could smuggle options into the encoder's command.
TEST(EncoderCommand, PathsSplitBackExactly) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {"/in/my clip.mov", "/out/my clip.mp4"},
      {"/in/say \"hi\".mov", "/out/a\" -f null \"b.mp4"},
      {"/in/it's $HOME `x`.mov", "/out/$(echo x);'.mkv"},
      {"/in/vidéo 視頻 ß.mov", "/out/\"\"\".mp4"},
  };
  for (const auto& n : names) {
    const std::string command =
        FFmpegCmdGenerator::CommandFor(with(with(planned(), "InputFile", n.first), "OutputFile", n.second));
    const QStringList args = CmdUtil::SplitCommand(QString::fromStdString(command));
    const bool mp4 = n.second.size() > 4 && n.second.substr(n.second.size() - 4) == ".mp4";
    ASSERT_EQ(args.size(), mp4 ? 23 : 21) << command;  // faststart adds two
    EXPECT_EQ(args.front().toStdString(), FFmpegCmdGenerator::GetEncoderPath());
    EXPECT_EQ(args.at(args.indexOf("-i") + 1).toStdString(), n.first);
    EXPECT_EQ(args.back().toStdString(), n.second);
  }
}

#include <gtest/gtest.h>

#include <algorithm>

#include "RecordsFromText.h"
#include "environment/AppConstants.h"
#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"

namespace {

// What a 1920x1080 input with audio at quality "85" is planned to, with changes of
// its text view ("Rotate" turns it).
CommandLine commandLine(std::initializer_list<std::pair<const std::string, std::string>> changes = {}) {
  FFmpegParams p;
  p.planned = true;
  p.inputFile = "/in/a.mov";
  p.outputFile = "/out/a.mp4";
  p.preset = "medium";
  p.videoBitrate = 1600000;
  p.audioBitrate = 64000;
  p.videoFramerate = 24;
  p.width = 1280;
  p.height = 720;
  p.hasAudio = true;
  p.pixFmt = "yuv420p";
  for (const auto& c : changes) {
    if (c.first == "InputFile") p.inputFile = c.second;
    if (c.first == "OutputFile") p.outputFile = c.second;
    if (c.first == "HasAudio") p.hasAudio = c.second == "true";
    if (c.first == "pix_fmt") p.pixFmt = c.second;
    if (c.first == "Rotate") p.rotate = MediaFigure(c.second);
  }
  return FFmpegCmdGenerator::CommandFor(p);
}

// Its text form, as the log shows it.
std::string command(std::initializer_list<std::pair<const std::string, std::string>> changes = {}) {
  return commandLine(changes).ToString();
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(EncoderCommand, Mp4CommandReadsExactly) {
  const std::string encoder = FFmpegCmdGenerator::GetEncoderPath();
  EXPECT_EQ(encoder, tool_path("encoder"));
  EXPECT_TRUE(OSUtil::isFileExist(encoder));
  EXPECT_EQ(command(), "\"" + encoder + "\" -y -i \"/in/a.mov\" -metadata encoding_tool=Lavf58.29.10_KV" +
                           get_current_version() +
                           " -movflags +faststart -acodec aac -b:a 64000 -vcodec h264 -preset medium"
                           " -s 1280x720 -b:v 1600000 -r 24.000 \"/out/a.mp4\"");
}

TEST(EncoderCommand, ContainerAudioAndPixelFormatOptions) {
  EXPECT_TRUE(has(command({{"HasAudio", "false"}}), " -movflags +faststart -an -vcodec h264 -preset "));
  for (const char* output : {"/o/a.mkv", "/o/a.MP4", "/o/a.mp4.flv"}) {
    const std::string other = command({{"OutputFile", output}, {"Rotate", "180"}});
    EXPECT_FALSE(has(other, "-movflags") || has(other, "-noautorotate")) << other;
  }
  for (const char* ten_bit : {"yuv420p10le", "yuv422p10le"})
    EXPECT_TRUE(has(command({{"pix_fmt", ten_bit}}), "\"/in/a.mov\" -pix_fmt yuv420p -metadata ")) << ten_bit;
  for (const char* other : {"yuv420p", "yuv444p10le", ""})
    EXPECT_FALSE(has(command({{"pix_fmt", other}}), "-pix_fmt"));
}

// MP4 keeps the coded frames and marks the rotation; elsewhere the encoder turns the
// frames upright, so a quarter turn swaps the size (real encodes: TranscodeEndToEnd).
TEST(EncoderCommand, RotationKeepsMp4CodedAndSwapsOthers) {
  const std::pair<std::string, const char*> cases[] = {
      {command({{"Rotate", "90"}}), "\" -noautorotate -y -i \""},
      {command({{"Rotate", "90"}, {"OutputFile", "/o/a.MP4"}}), " -s 720x1280 "},
      {command({{"Rotate", "270"}, {"OutputFile", "/o/a.ts"}}), " -s 720x1280 "},
      {command({{"Rotate", "180"}, {"OutputFile", "/o/a.mkv"}}), " -s 1280x720 "},
      {command({{"OutputFile", "/o/a.mkv"}}), " -s 1280x720 "}};
  for (const auto& c : cases) EXPECT_TRUE(has(c.first, c.second)) << c.first;
}

// A file name is one whole argument (no option can be smuggled in with it), and an
// input that was not planned passes no value empty, so the encoder fails on the
// input itself.
TEST(EncoderCommand, ArgumentsAreWholeAndNeverEmpty) {
  const CommandLine cmd =
      commandLine({{"InputFile", "/in/say \"hi\" $HOME.mov"}, {"OutputFile", "/out/a\" -f null \"b.mp4"}});
  ASSERT_EQ(cmd.Arguments().size(), 22u) << cmd.ToString();
  EXPECT_EQ(cmd.Program(), FFmpegCmdGenerator::GetEncoderPath());
  EXPECT_EQ(cmd.Arguments().at(2) + "|" + cmd.Arguments().back(),
            "/in/say \"hi\" $HOME.mov|/out/a\" -f null \"b.mp4");
  FFmpegParams unplanned;
  unplanned.inputFile = "/in/notes.txt";
  unplanned.outputFile = "/out/notes_output.mp4";
  const std::vector<std::string> args = FFmpegCmdGenerator::CommandFor(unplanned).Arguments();
  EXPECT_EQ(std::count(args.begin(), args.end(), ""), 0);
}

// Every track kept: each stream named, the subtitles' codecs, and in MP4 the titles
// as handler names; the usual command stays as it was, tracks or not.
TEST(EncoderCommand, KeepingEveryTrackNamesEachStream) {
  MediaInfo info = media_info_from({{"HasVideo", "true"},
                                    {"HasAudio", "true"},
                                    {"Width", "1920"},
                                    {"Height", "1080"},
                                    {"VideoFramerate", "24"}});
  info.tracks = tracks_from({"video mjpeg 600x600 cover", "video h264 1920x1080",
                             "audio aac 2ch title=English", "audio ac3 6ch", "subtitle hdmv_pgs_subtitle",
                             "subtitle subrip title=Forced\"=1", "data"});
  const auto middle_of = [](const FFmpegParams& params) {
    const std::string text = FFmpegCmdGenerator::CommandFor(params).ToString();
    const size_t from = text.find("_KV") + 3, to = text.find(" -vcodec");
    return text.substr(text.find(' ', from) + 1, to - text.find(' ', from) - 1);
  };
  const auto middle = [&](const char* output, bool all) {
    FFmpegParams params = FFmpegCmdGenerator::ParamsFor(info, "/in/a.mkv", output, "85", all);
    EXPECT_EQ(params.namedStreams, all || FFmpegCmdGenerator::NamesUsualStreams());
    params.namedStreams = all;
    return middle_of(params);
  };
  EXPECT_EQ(middle("/o/a.mp4", true),
            "-movflags +faststart -map 0:1 -map 0:2 -map 0:3 -map 0:5 -acodec aac -b:a 64000 -c:s:0 mov_text "
            "-metadata:s:a:0 handler_name=English -metadata:s:s:0 handler_name=Forced\"=1");
  EXPECT_EQ(middle("/o/a.mkv", true),
            "-map 0:1 -map 0:2 -map 0:3 -map 0:4 -map 0:5 -acodec aac -b:a 64000 "
            "-c:s:0 copy -c:s:1 copy");
  EXPECT_EQ(middle("/o/a.flv", true), "-map 0:1 -map 0:3 -acodec aac -b:a 64000");
  EXPECT_EQ(middle("/o/a.mp4", false), "-movflags +faststart -acodec aac -b:a 64000");
  // Where the encoder may pick otherwise, the usual command names what its plan keeps
  // (most channels, the first text subtitle) with the encoder's own codecs.
  FFmpegParams named = FFmpegCmdGenerator::ParamsFor(info, "/in/a.mkv", "/o/a.mkv", "85", false);
  named.namedStreams = true;
  EXPECT_EQ(middle_of(named), "-map 0:1 -map 0:3 -map 0:5 -acodec aac -b:a 64000");
  // Nothing known of the streams: nothing to name, so the usual command.
  info.tracks.clear();
  EXPECT_EQ(middle("/o/a.mkv", true), "-acodec aac -b:a 64000");
}

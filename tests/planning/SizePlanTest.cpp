#include <gtest/gtest.h>

#include <QFileInfo>
#include <cmath>

#include "RecordsFromText.h"
#include "planning/ContainerOverhead.h"
#include "planning/EncoderRuns.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "text/StringUtil.h"

namespace {

// A probed 1920x1080 minute at 8 Mbit/s video and 192 kbit/s audio (one track), a
// 60 MB file.
MediaInfo fullHdMinute(std::initializer_list<std::pair<const std::string, std::string>> changes = {},
                       std::vector<std::string> streams = {"video h264 1920x1080", "audio aac 2ch"}) {
  Texts info = {{"HasVideo", "true"},        {"HasAudio", "true"},
                {"Width", "1920"},           {"Height", "1080"},
                {"VideoBitrate", "8000000"}, {"AudioBitrate", "192000"},
                {"OverallDuration", "60"},   {"VideoFramerate", "29.970030"},
                {"FileSize", "61440000"}};
  for (const auto& c : changes) info[c.first] = c.second;
  MediaInfo record = media_info_from(info);
  record.tracks = tracks_from(streams);
  return record;
}

// The size that leaves videoBitrate (and a few bits a second) for the video of the
// input's minute with this audio, as the plan aims, in an MP4.
int64_t sizeFor(int videoBitrate, int audioBitrate, int audioTracks = 1) {
  ContainerOverhead::Streams streams;
  streams.seconds = 60;
  streams.videoFrameRate = 24;
  streams.audioTracks = audioTracks;
  const double audio = std::ceil(audioBitrate * 1.01 * (60 + 0.07) / 8) * audioTracks;
  const double payload = videoBitrate * 60.0 / 8 + audio;
  streams.payloadBytes = static_cast<int64_t>(payload);
  return static_cast<int64_t>(
             std::ceil((payload + ContainerOverhead::Bytes(".mp4", streams)) / SizePlan::kAim)) +
         16;
}

}  // namespace

TEST(SizeText, ReadsSizesAsTypedInEveryUnit) {
  const std::pair<const char*, int64_t> sizes[] = {
      {"25MB", 25000000}, {"25 mb", 25000000}, {" 1.5GB ", 1500000000},      {"2.07MB", 2070000},
      {"700KiB", 716800}, {"1.25KiB", 1280},   {"1GiB", 1073741824},         {"8 kB", 8000},
      {"512B", 512},      {"0.5 MiB", 524288}, {"1.999999999999MB", 1999999}};
  for (const auto& size : sizes)
    EXPECT_EQ(SizeText::Parse(size.first), std::optional<int64_t>(size.second)) << size.first;
  for (const char* wrong : {"25", "25XB", "MB", "0MB", "0.0000001B", "-5MB", ".5MB", "1.MB", "1.2.3MB",
                            "1,5MB", "25 M B", "99999999999GB", ""})
    EXPECT_FALSE(SizeText::Parse(wrong)) << wrong;
  // Cut, never rounded up: just under a limit never reads as the limit.
  EXPECT_EQ(SizeText::Decimal(24999999), "24.99 MB");
  EXPECT_EQ(SizeText::Decimal(25000000), "25 MB");
  EXPECT_EQ(SizeText::Decimal(1500000000), "1.5 GB");
  EXPECT_EQ(SizeText::Decimal(980400), "980.4 kB");
  EXPECT_EQ(SizeText::Megabytes(7500000), "7.5");
}

// Against what the encoder's muxers really add to the streams they hold.
TEST(ContainerOverhead, MatchesTheMuxersWithinAFewKilobytes) {
  const std::string folder = make_temp_folder("overhead");
  ClipSpec spec = clip_of(640, 360, 6);
  spec.fps = 24;
  const std::string clip = make_clip(folder, "clip.mkv", spec);
  ASSERT_FALSE(clip.empty());
  for (const char* format : {".mp4", ".mkv", ".flv", ".avi", ".ts"}) {
    const std::string output = folder + "/out" + format;
    std::string extra = std::string(format) == ".mp4" ? "-movflags\n+faststart\n" : "";
    run_and_capture(tool_path("encoder"),
                    "-y\n-i\n" + clip + "\n" + extra +
                        "-c:v\nlibx264\n-b:v\n600k\n-c:a\naac\n-b:a\n64k\n-ar\n48000\n" + output);
    // The streams' own bytes, as the probe counts their packets.
    const std::string sizes = run_and_capture(
        tool_path("mediainfo"), "-v\nerror\n-show_entries\npacket=size\n-of\ncsv=p=0\n" + output);
    int64_t payload = 0;
    for (const std::string& line : StringUtil::split(sizes, '\n')) payload += std::atoll(line.c_str());
    const int64_t total = QFileInfo(QString::fromStdString(output)).size();
    ContainerOverhead::Streams streams;
    streams.seconds = 6;
    streams.videoFrameRate = 24;
    streams.audioTracks = 1;
    streams.payloadBytes = payload;
    int64_t overhead = total - payload;
    // TS wraps each AAC frame in a 7-byte header the probe counts as the stream's.
    if (std::string(format) == ".ts") overhead += 7 * static_cast<int64_t>(6 * 48000 / 1024);
    EXPECT_NEAR(ContainerOverhead::Bytes(format, streams), overhead, 3000) << format;
  }
  // An unknown container costs as much as the costliest known one.
  ContainerOverhead::Streams minute{60, 24, 1, 48000, 20000000};
  EXPECT_EQ(ContainerOverhead::Bytes(".xyz", minute), ContainerOverhead::Bytes(".ts", minute));
  EXPECT_GT(ContainerOverhead::Bytes(".TS", minute), ContainerOverhead::Bytes(".avi", minute));
}

TEST(SizePlan, TheHighestRowWhoseRateFitsGivesTheFrameAndTheRateIsTheSizes) {
  // Between the 1080p rows 87 (1.8 Mbit/s, 96 kbit/s audio) and 88 (1.9 Mbit/s).
  const int64_t target = sizeFor(1850000, 96000);
  const SizePlan plan = SizePlan::For(fullHdMinute(), target, ".mp4");
  ASSERT_EQ(plan.verdict, SizePlan::Verdict::Planned);
  EXPECT_EQ(plan.quality, "87");
  EXPECT_EQ(plan.params.width, 1280);
  EXPECT_EQ(plan.params.height, 720);
  EXPECT_NEAR(plan.params.videoFramerate, 24, 1e-9);
  EXPECT_NEAR(plan.params.videoBitrate, 1850000, 100);
  EXPECT_EQ(plan.params.audioBitrate, 96000);
  // What it aims at stays under the size, by the aim's margin.
  EXPECT_LE(plan.expectedBytes, target);
  EXPECT_NEAR(double(plan.expectedBytes) / target, SizePlan::kAim, 0.001);
  // A little less and the row below is taken, at the rate that is left.
  const SizePlan less = SizePlan::For(fullHdMinute(), sizeFor(1790000, 96000), ".mp4");
  EXPECT_EQ(less.quality, "86");
  EXPECT_NEAR(less.params.videoBitrate, 1790000, 100);
  // The input's own lower rate caps the rows as the quality knob caps them.
  const SizePlan capped =
      SizePlan::For(fullHdMinute({{"VideoBitrate", "1500000"}}), sizeFor(1600000, 128000), ".mp4");
  EXPECT_EQ(capped.quality, "99");
}

TEST(SizePlan, AudioStepsDownOnlyBelowTheLowestRowAndRefusesBelow32k) {
  const MediaInfo input = fullHdMinute();
  // The lowest row (80: 1.2 Mbit/s at 64 kbit/s audio) fits as it is.
  EXPECT_EQ(SizePlan::For(input, sizeFor(1200000, 64000), ".mp4").params.audioBitrate, 64000);
  // Less: the audio steps down to what lets the video keep the lowest row's rate.
  const SizePlan stepped = SizePlan::For(input, sizeFor(1200000, 48000), ".mp4");
  ASSERT_EQ(stepped.verdict, SizePlan::Verdict::Planned);
  EXPECT_EQ(stepped.quality, "80");
  EXPECT_EQ(stepped.params.audioBitrate, 48000);
  EXPECT_GE(stepped.params.videoBitrate, 1200000);
  const SizePlan least = SizePlan::For(input, sizeFor(1200000, 32000), ".mp4");
  EXPECT_EQ(least.params.audioBitrate, 32000);
  // Below that nothing is made: the refusal names the smallest size, which is planned.
  const SizePlan refused = SizePlan::For(input, sizeFor(1200000, 32000) - 20000, ".mp4");
  ASSERT_EQ(refused.verdict, SizePlan::Verdict::TooSmall);
  EXPECT_FALSE(refused.Encodable());
  EXPECT_EQ(refused.smallestBytes % 10000, 0);
  EXPECT_TRUE(SizePlan::For(input, refused.smallestBytes, ".mp4").Encodable());
  EXPECT_FALSE(SizePlan::For(input, refused.smallestBytes - 10000, ".mp4").Encodable());
  // Without audio there is nothing to step down.
  const MediaInfo silent = fullHdMinute({{"HasAudio", "false"}}, {"video h264 1920x1080"});
  EXPECT_EQ(SizePlan::For(silent, sizeFor(1190000, 0, 0), ".mp4").verdict, SizePlan::Verdict::TooSmall);
  EXPECT_EQ(SizePlan::For(silent, sizeFor(1210000, 0, 0), ".mp4").audioTracks, 0);
}

TEST(SizePlan, EveryKeptAudioTrackAndTheContainerCount) {
  const MediaInfo input = fullHdMinute(
      {}, {"video h264 1920x1080", "audio aac 2ch", "audio aac 2ch lang=ger", "subtitle subrip"});
  const int64_t target = sizeFor(1850000, 96000);
  const SizePlan usual = SizePlan::For(input, target, ".mkv");
  const SizePlan every = SizePlan::For(input, target, ".mkv", true);
  EXPECT_EQ(usual.audioTracks, 1);
  EXPECT_EQ(every.audioTracks, 2);
  // The second track's audio comes out of the video's share.
  EXPECT_NEAR(usual.params.videoBitrate - every.params.videoBitrate, 96000 * 1.01, 4000);
  // FLV holds one audio track; TS costs more than MKV.
  EXPECT_EQ(SizePlan::For(input, target, ".flv", true).audioTracks, 1);
  EXPECT_LT(SizePlan::For(input, target, ".ts").params.videoBitrate, usual.params.videoBitrate);
}

TEST(SizePlan, ASizeThatHoldsTheInputFitsAtTheTopRowsRate) {
  const MediaInfo input = fullHdMinute();
  for (int64_t target : {int64_t{61440000}, sizeFor(7400000, 128000), int64_t{1} << 40}) {
    const SizePlan plan = SizePlan::For(input, target, ".mp4");
    EXPECT_EQ(plan.verdict, SizePlan::Verdict::Fits) << target;
    EXPECT_EQ(plan.quality, "99");
    EXPECT_LE(plan.params.videoBitrate, 7300000);
  }
  EXPECT_EQ(SizePlan::For(input, sizeFor(7200000, 128000), ".mp4").verdict, SizePlan::Verdict::Planned);
  // Nothing can be planned for an input refused or of no known length.
  EXPECT_EQ(SizePlan::For(fullHdMinute({{"OverallDuration", "N/A"}}), 25000000, ".mp4").verdict,
            SizePlan::Verdict::Unknown);
  EXPECT_EQ(SizePlan::For(fullHdMinute({{"Width", "5000"}}), 25000000, ".mp4").verdict,
            SizePlan::Verdict::Unknown);
}

TEST(SizePlan, ASecondTryIsLoweredByWhatTheFirstWasOver) {
  // 60 s at 1.85 Mbit/s came out 600 kB over a 15 MB size: the 600 kB and the aim's
  // margin come off the rate.
  const int lowered = SizePlan::RetryVideoBitrate(1850000, 15600000, 15000000, 60);
  EXPECT_NEAR(lowered, 1850000 - (15600000 - 15000000 * SizePlan::kAim) * 8 / 60, 1);
  EXPECT_EQ(SizePlan::RetryVideoBitrate(1850000, 15000001, 15000000, 0), 0);
  // Nothing sensible is left of a rate that would drop to a quarter.
  EXPECT_EQ(SizePlan::RetryVideoBitrate(400000, 40000000, 15000000, 60), 0);
}

TEST(EncoderRuns, AnAnalysisRunThenTheOutputsOverTheSameFrames) {
  const SizePlan plan = SizePlan::For(fullHdMinute(), sizeFor(1850000, 96000), ".mp4");
  const EncoderRuns runs = EncoderRuns::ForPlan(plan, "/in/a.mov", "/out/a.mp4").WithPassLog("/tmp/k/pass");
  ASSERT_TRUE(runs.TwoPass());
  const std::string analysis = runs.analysis.ToString();
  const std::string output = runs.output.ToString();
  const int64_t rate = plan.params.videoBitrate;
  for (const std::string& same :
       {std::string(" -vf fps=24.000 "), std::string(" -s 1280x720 "), " -b:v " + std::to_string(rate) + " ",
        std::string(" -r 24.000 "), std::string(" -passlogfile \"/tmp/k/pass\"")}) {
    EXPECT_NE(analysis.find(same), std::string::npos) << analysis;
    EXPECT_NE(output.find(same), std::string::npos) << output;
  }
  EXPECT_NE(analysis.find(" -an -sn -dn "), std::string::npos);
  EXPECT_NE(analysis.find(" -pass 1 "), std::string::npos);
  EXPECT_EQ(analysis.substr(analysis.size() - 10), " -f null -");
  EXPECT_NE(output.find(" -acodec aac -b:a 96000 "), std::string::npos);
  EXPECT_NE(
      output.find(" -maxrate " + std::to_string(2 * rate) + " -bufsize " + std::to_string(4 * rate) + " "),
      std::string::npos);
  EXPECT_NE(output.find(" -pass 2 "), std::string::npos);
  EXPECT_EQ(runs.output.Arguments().back(), "/out/a.mp4");
  const std::string again = runs.OutputAt(1700000).ToString();
  for (const char* changed : {" -b:v 1700000 ", " -maxrate 3400000 -bufsize 6800000 "})
    EXPECT_NE(again.find(changed), std::string::npos) << again;
  // A size that cannot be made has no commands.
  const EncoderRuns none =
      EncoderRuns::ForPlan(SizePlan::For(fullHdMinute(), 1000000, ".mp4"), "/in", "/out");
  EXPECT_TRUE(none.output.Empty());
  EXPECT_TRUE(none.HasSize());
}

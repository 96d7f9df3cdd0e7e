// Real encodes of inputs with many tracks: what each container holds of them, as
// planned, and what the usual command keeps.
#include <gtest/gtest.h>

#include <algorithm>

#include "planning/FFmpegCmdGenerator.h"
#include "planning/TrackPlan.h"
#include "probe/MediaInfoCache.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "support/TrackFixtures.h"

namespace {

const std::string& multitrack() {
  static const std::string made = make_multitrack_clip(make_temp_folder("tracks"));
  return made;
}

// Runs the command planned for the output and returns the output's streams.
std::string transcoded(const std::string& input, const std::string& output, bool keepAllTracks) {
  std::string log;
  EXPECT_EQ(run_command(FFmpegCmdGenerator::Generate(input, output, "95", keepAllTracks), &log), 0) << log;
  return stream_list(output);
}

// The same with the usual command naming the streams its plan keeps.
std::string transcodedNamed(const std::string& input, const std::string& output) {
  FFmpegParams params =
      FFmpegCmdGenerator::ParamsFor(MediaInfoCache::GetInstance().GetMediaInfo(input), input, output, "95");
  params.namedStreams = true;
  std::string log;
  EXPECT_EQ(run_command(FFmpegCmdGenerator::CommandFor(params), &log), 0) << log;
  return stream_list(output);
}

KeptStreams kept(const std::string& input, const std::string& extension, bool keepAllTracks) {
  return TrackPlan::For(MediaInfoCache::GetInstance().GetMediaInfo(input), extension, keepAllTracks).Kept();
}

std::string numbers(const KeptStreams& kept) {
  std::string text = std::to_string(kept.video) + " |";
  for (int index : kept.audio) text += " " + std::to_string(index);
  text += " |";
  for (int index : kept.subtitles) text += " " + std::to_string(index);
  return text;
}

}  // namespace

TEST(TrackTranscode, EveryContainerHoldsTheTracksItsPlanKeeps) {
  const std::string input = multitrack();
  ASSERT_FALSE(input.empty());
  ASSERT_EQ(
      stream_list(input),
      "video/h264//, audio/aac/eng/English, audio/aac/ger/Deutsch = gut, subtitle/subrip/eng/, "
      "subtitle/hdmv_pgs_subtitle/fre/, subtitle/dvd_subtitle//, subtitle/dvb_subtitle//, attachment/ttf//");
  const std::string folder = make_temp_folder("tracks-out");
  struct Case {
    const char* extension;
    const char* streams;  // of the output
    const char* kept;     // input streams: video | audio | subtitles
  };
  const Case cases[] = {
      // Text as mov_text, and of the pictures VobSub only; titles become handler names.
      {".mp4",
       "video/h264/und/, audio/aac/eng/, audio/aac/ger/, subtitle/mov_text/eng/, subtitle/dvd_subtitle/und/",
       "0 | 1 2 | 3 5"},
      {".mkv",
       "video/h264//, audio/aac/eng/English, audio/aac/ger/Deutsch = gut, subtitle/subrip/eng/, "
       "subtitle/hdmv_pgs_subtitle/fre/, subtitle/dvd_subtitle//, subtitle/dvb_subtitle//",
       "0 | 1 2 | 3 4 5 6"},
      {".ts", "video/h264//, audio/aac/eng/, audio/aac/ger/, subtitle/dvb_subtitle/und/", "0 | 1 2 | 6"},
      {".avi", "video/h264//, audio/aac//English, audio/aac//Deutsch = gut", "0 | 1 2 |"},
      // One audio track: the one the encoder picks itself (stereo over mono).
      {".flv", "video/h264//, audio/aac//", "0 | 2 |"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    const std::string output = folder + "/all" + c.extension;
    EXPECT_EQ(transcoded(input, output, true), c.streams);
    EXPECT_EQ(numbers(kept(input, c.extension, true)), c.kept);
    // No subtitle stretches the output past the input.
    EXPECT_NEAR(std::stod("0" + probe_entry(output, "format", "duration")), 2.0, 0.3);
  }
  std::string handler = run_and_capture(tool_path("mediainfo"),
                                        "-v\nerror\n-select_streams\na:1\n-show_entries\n"
                                        "stream_tags=handler_name\n-of\ncsv=p=0\n" +
                                            folder + "/all.mp4");
  // The Windows probe ends its lines with "\r\n".
  handler.erase(std::remove(handler.begin(), handler.end(), '\r'), handler.end());
  EXPECT_EQ(handler, "Deutsch = gut\n");
  EXPECT_EQ(probe_entry(folder + "/all.flv", "a:0", "channels"), "2");
}

// The usual command keeps one video and one audio track (a default mark first, then
// the most channels) and in MKV the first text subtitle, as the plan says, so the
// completion check and the dialog know which; left to the encoder or named.
TEST(TrackTranscode, TheUsualCommandKeepsWhatItsPlanSays) {
  const std::string input = multitrack();
  ASSERT_FALSE(input.empty());
  const std::string folder = make_temp_folder("usual");
  EXPECT_EQ(transcoded(input, folder + "/usual.mkv", false),
            "video/h264//, audio/aac/ger/Deutsch = gut, subtitle/ass/eng/");
  EXPECT_EQ(numbers(kept(input, ".mkv", false)), "0 | 2 | 3");
  EXPECT_EQ(transcoded(input, folder + "/usual.mp4", false), "video/h264/und/, audio/aac/ger/");
  EXPECT_EQ(numbers(kept(input, ".mp4", false)), "0 | 2 |");

  // The mono English track marked as the default wins over the stereo one.
  std::string log;
  CommandLine remux(tool_path("encoder"));
  remux.Add({"-y", "-loglevel", "error", "-i"}).AddPath(input);
  remux.Add({"-map", "0", "-c", "copy", "-disposition:a:0", "default", "-disposition:a:1", "0"});
  const std::string marked = folder + "/marked.mkv";
  ASSERT_EQ(run_command(remux.AddPath(marked), &log), 0) << log;
  EXPECT_EQ(transcoded(marked, folder + "/marked.mp4", false), "video/h264/und/, audio/aac/eng/");
  EXPECT_EQ(numbers(kept(marked, ".mp4", false)), "0 | 1 |");

  EXPECT_EQ(transcodedNamed(marked, folder + "/named.mp4"), "video/h264/und/, audio/aac/eng/");
  EXPECT_EQ(transcodedNamed(input, folder + "/named.mkv"),
            "video/h264//, audio/aac/ger/Deutsch = gut, subtitle/ass/eng/");
}

// A data stream is never kept; a mov_text subtitle becomes ASS in MKV.
TEST(TrackTranscode, DataStreamsStayBehindAndTextSubtitlesChangeFormatWhereNeeded) {
  const std::string input = make_data_stream_clip(make_temp_folder("data"));
  ASSERT_FALSE(input.empty());
  ASSERT_EQ(stream_list(input).substr(stream_list(input).rfind(", ") + 2, 5), "data/");
  const std::string output = make_temp_folder("data-out") + "/all.mkv";
  EXPECT_EQ(transcoded(input, output, true), "video/h264//, audio/aac//, subtitle/ass/spa/");
  const TrackPlan plan = TrackPlan::For(MediaInfoCache::GetInstance().GetMediaInfo(input), ".mkv", true);
  ASSERT_EQ(plan.streams.size(), 4u);
  EXPECT_EQ(plan.streams[3].fate, TrackPlan::Fate::NeverKept);
  EXPECT_EQ(plan.streams[2].encoding, "ass");
}

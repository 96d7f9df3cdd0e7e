#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "probe/FFprobeUtil.h"

namespace {

// A recorded report, split into lines the way the blocking runner hands them over.
std::vector<std::string> recordedReport(const std::string& name) {
  QFile file(QString(KOVADLE_TEST_DATA_DIR) + "/" + QString::fromStdString(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  std::vector<std::string> lines;
  const QString text = QString::fromUtf8(file.readAll());
  for (const QString& line : text.split(QRegularExpression("[\r\n]"), Qt::SkipEmptyParts)) {
    lines.push_back(line.toStdString());
  }
  return lines;
}

MediaInfo parseRecorded(const std::string& name) {
  return FFprobeUtil::ParseProbeOutput("/in/" + name, recordedReport(name));
}

MediaInfo parseLines(const std::vector<std::string>& lines) {
  return FFprobeUtil::ParseProbeOutput("/in/x", lines);
}

MediaInfo defaultsFor(const std::string& file) {
  MediaInfo info;
  FFprobeUtil::InitMediaInfo(info);
  info["MediaFileName"] = file;
  return info;
}

}  // namespace

TEST(FFprobeParse, VideoAndAudioReportFillsEveryKeyFromTheStreams) {
  const MediaInfo expected = {
      {"MediaFileName", "/in/video_audio.ini"},
      {"IsMediaFile", "true"},
      {"HasVideo", "true"},
      {"HasAudio", "true"},
      {"OverallDuration", "2.000000"},
      {"FileSize", "578393"},
      {"VideoCodec", "h264"},
      {"VideoBitrate", "2232320"},
      {"Width", "640"},
      {"Height", "480"},
      {"VideoFramerate", "25.000000"},
      {"VideoDuration", "2.000000"},
      {"AudioCodec", "aac"},
      {"AudioBitrate", "69671"},
      {"AudioChannel", "1"},
      {"AudioSampleRate", "44100"},
      {"AudioDuration", "2.000000"},
      {"pix_fmt", "yuv420p"},
  };
  EXPECT_EQ(parseRecorded("video_audio.ini"), expected);

  // Only the first video stream counts.
  const MediaInfo two = parseRecorded("two_video.ini");
  EXPECT_EQ(two.at("Width"), "640");
  EXPECT_EQ(two.at("Height"), "480");
  EXPECT_EQ(two.at("VideoFramerate"), "25.000000");
  EXPECT_EQ(two.at("VideoBitrate"), "2232320");
  EXPECT_EQ(two.at("AudioCodec"), "aac");

  const MediaInfo tenBit = parseRecorded("ten_bit.ini");
  EXPECT_EQ(tenBit.at("pix_fmt"), "yuv420p10le");
  EXPECT_EQ(tenBit.at("HasAudio"), "false");
  EXPECT_EQ(tenBit.count("Rotate"), 0u);
}

TEST(FFprobeParse, MissingStreamFiguresComeFromTheContainer) {
  // Audio only: the video fallbacks run too. T = 18779 * 8 / 2 = 75116.
  const MediaInfo audio = parseRecorded("audio_only.ini");
  EXPECT_EQ(audio.at("IsMediaFile"), "true");
  EXPECT_EQ(audio.at("HasVideo"), "false");
  EXPECT_EQ(audio.at("VideoCodec"), "Unknown");
  EXPECT_EQ(audio.at("Width"), "0");
  EXPECT_EQ(audio.at("Height"), "0");
  EXPECT_EQ(audio.at("VideoDuration"), "2.000000");
  EXPECT_EQ(audio.at("VideoBitrate"), std::to_string(75116 - 32000));
  EXPECT_EQ(audio.at("AudioBitrate"), "69671");
  EXPECT_EQ(audio.count("pix_fmt"), 0u);

  // Video only: T = 559132 * 8 / 2 = 2236528.
  const MediaInfo video = parseRecorded("video_only.ini");
  EXPECT_EQ(video.at("HasAudio"), "false");
  EXPECT_EQ(video.at("AudioCodec"), "Unknown");
  EXPECT_EQ(video.at("AudioDuration"), "2.000000");
  EXPECT_EQ(video.at("AudioBitrate"), "128000");

  // Matroska reports no per-stream bit rate or duration. T = 577433 * 8 / 2.023 = 2283472.
  const MediaInfo mkv = parseRecorded("no_stream_bitrate.ini");
  EXPECT_EQ(mkv.at("VideoBitrate"), std::to_string(2283472 - 128000));
  EXPECT_EQ(mkv.at("AudioBitrate"), "128000");
  EXPECT_EQ(mkv.at("VideoDuration"), "2.023000");
  EXPECT_EQ(mkv.at("AudioDuration"), "2.023000");
  EXPECT_EQ(mkv.at("OverallDuration"), "2.023000");

  // Not media: nothing but the defaults and the name.
  EXPECT_EQ(parseRecorded("text.ini"), defaultsFor("/in/text.ini"));
  EXPECT_EQ(parseLines({}), defaultsFor("/in/x"));
}

TEST(FFprobeParse, RotationFromTagOrDisplayMatrix) {
  // Today's probe prints only the display matrix for a clip tagged rotate=90.
  const MediaInfo rotated = parseRecorded("rotated.ini");
  EXPECT_EQ(rotated.at("Rotate"), "90");
  EXPECT_EQ(rotated.at("Width"), "640");
  EXPECT_EQ(rotated.count("Rotate"), 1u);
  EXPECT_EQ(parseRecorded("video_audio.ini").count("Rotate"), 0u);

  const std::vector<std::string> head = {"[streams.stream.0]", "codec_name=h264",
                                         "codec_type=video",   "width=1920",
                                         "height=1080",        "[streams.stream.0.disposition]",
                                         "default=1"};
  auto withLines = [&](std::vector<std::string> tail) {
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), tail.begin(), tail.end());
    return parseLines(lines);
  };
  const char* sideData = "[streams.stream.0.side_data_list.side_data.0]";
  EXPECT_EQ(withLines({sideData, "rotation=-90"}).at("Rotate"), "270");
  EXPECT_EQ(withLines({sideData, "rotation=-180"}).at("Rotate"), "180");
  EXPECT_EQ(withLines({sideData, "rotation=90.00"}).at("Rotate"), "90");
  EXPECT_EQ(withLines({sideData, "rotation=0"}).count("Rotate"), 0u);
  EXPECT_EQ(withLines({sideData, "rotation=N/A"}).count("Rotate"), 0u);
  // An old probe prints both: the tag, as printed, stays.
  EXPECT_EQ(withLines({"[streams.stream.0.tags]", "rotate=90", sideData, "rotation=-90"}).at("Rotate"), "90");
  EXPECT_EQ(withLines({"[streams.stream.0.tags]", "rotate=90"}).at("Width"), "1920");
}

TEST(FFprobeParse, LineRulesAndGapFilling) {
  // 10 000 000 bytes over 10 s: T = 8 000 000, audio 128 000, video 7 872 000.
  const MediaInfo na = parseLines({"[streams.stream.0]",
                                   "codec_name=h264",
                                   "codec_type=video",
                                   "coded_width=4000",
                                   "width=1920",
                                   "coded_height=3000",
                                   "height=1080",
                                   "bit_rate=N/A",
                                   "max_bit_rate=9999",
                                   "duration=N/A",
                                   "r_frame_rate=30000/1001",
                                   "[streams.stream.0.disposition]",
                                   "[streams.stream.1]",
                                   "codec_name=aac",
                                   "codec_type=audio",
                                   "max_bit_rate=5",
                                   "[streams.stream.1.disposition]",
                                   "[format]",
                                   "filename=a.mp4",
                                   "duration=10.000000",
                                   "size=10000000"});
  EXPECT_EQ(na.at("Width"), "1920");
  EXPECT_EQ(na.at("Height"), "1080");
  EXPECT_EQ(na.at("VideoFramerate"), "29.970030");
  EXPECT_EQ(na.at("VideoBitrate"), "7872000");
  EXPECT_EQ(na.at("AudioBitrate"), "128000");
  EXPECT_EQ(na.at("VideoDuration"), "10.000000");

  // The container's duration unknown: the video's takes its place.
  const MediaInfo noOverall =
      parseLines({"[streams.stream.0]", "codec_name=h264", "codec_type=video", "duration=5.5",
                  "bit_rate=1000", "[streams.stream.0.disposition]", "[format]", "duration=N/A", "size=5"});
  EXPECT_EQ(noOverall.at("OverallDuration"), "5.5");

  // A zero duration or an unknown size gives no total bit rate: leave them alone.
  for (const char* size : {"size=N/A", "size=0"}) {
    const MediaInfo unknown =
        parseLines({"[streams.stream.0]", "codec_name=h264", "codec_type=video", "bit_rate=N/A",
                    "[streams.stream.0.disposition]", "[format]", "duration=10.0", size});
    EXPECT_EQ(unknown.at("VideoBitrate"), "N/A") << size;
    EXPECT_EQ(unknown.at("AudioBitrate"), "0") << size;
  }
  const MediaInfo zero =
      parseLines({"[streams.stream.0]", "codec_name=h264", "codec_type=video",
                  "[streams.stream.0.disposition]", "[format]", "duration=0.000000", "size=1000"});
  EXPECT_EQ(zero.at("VideoBitrate"), "0");
  EXPECT_EQ(zero.at("AudioBitrate"), "0");
}

TEST(FFprobeParse, FrameRateAndAudioBitrateTables) {
  EXPECT_DOUBLE_EQ(FFprobeUtil::GetFrameRate("25/1"), 25.0);
  EXPECT_NEAR(FFprobeUtil::GetFrameRate("30000/1001"), 29.97003, 1e-5);
  EXPECT_EQ(FFprobeUtil::GetFrameRate("0/0"), 0.0);
  EXPECT_EQ(FFprobeUtil::GetFrameRate(""), 0.0);

  const std::pair<int, int> table[] = {{0, 32000},        {400000, 32000},  {400001, 48000},
                                       {800000, 48000},   {800001, 56000},  {1200001, 64000},
                                       {1500001, 96000},  {2000000, 96000}, {2000001, 128000},
                                       {8000000, 128000}, {8000001, 196000}};
  for (const auto& row : table) EXPECT_EQ(FFprobeUtil::GetAudioBitrate(row.first), row.second) << row.first;
}

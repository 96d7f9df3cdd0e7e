#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <sstream>

#include "probe/FFprobeUtil.h"

namespace {

using Record = std::map<std::string, std::string>;

// A recorded report, split into lines the way the blocking runner hands them over.
Record parseRecorded(const std::string& name) {
  QFile file(QString(KOVADLE_TEST_DATA_DIR) + "/" + QString::fromStdString(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  std::vector<std::string> lines;
  for (const QString& line :
       QString::fromUtf8(file.readAll()).split(QRegularExpression("[\r\n]"), Qt::SkipEmptyParts))
    lines.push_back(line.toStdString());
  return FFprobeUtil::ParseProbeOutput("/in/" + name, lines).ToMap();
}

// Report lines written on one line, separated by blanks (synthetic reports hold none).
Record parseLines(const std::string& report) {
  std::istringstream in(report);
  std::vector<std::string> lines;
  for (std::string line; in >> line;) lines.push_back(line);
  return FFprobeUtil::ParseProbeOutput("/in/x", lines).ToMap();
}

// A first video stream with extra main-section lines, then what follows that section.
Record videoWith(const std::string& main, const std::string& after = "") {
  return parseLines("[streams.stream.0] codec_name=h264 codec_type=video width=1920 height=1080 " + main +
                    " [streams.stream.0.disposition] " + after);
}

// Checks "Key=value" pairs separated by blanks.
void expectFields(const Record& info, const std::string& fields) {
  std::istringstream in(fields);
  for (std::string pair; in >> pair;) {
    const std::string key = pair.substr(0, pair.find('='));
    ASSERT_EQ(info.count(key), 1u) << key;
    EXPECT_EQ(info.at(key), pair.substr(pair.find('=') + 1)) << key;
  }
}

}  // namespace

TEST(FFprobeParse, RecordedReportsOfTheRealProbe) {
  const Record both = parseRecorded("video_audio.ini");
  EXPECT_EQ(both.size(), 18u);  // the 17 defaults and pix_fmt; no Rotate
  expectFields(both,
               "MediaFileName=/in/video_audio.ini IsMediaFile=true HasVideo=true HasAudio=true "
               "OverallDuration=2.000000 FileSize=578393 VideoCodec=h264 VideoBitrate=2232320 Width=640 "
               "Height=480 VideoFramerate=25.000000 VideoDuration=2.000000 AudioCodec=aac AudioBitrate=69671 "
               "AudioChannel=1 AudioSampleRate=44100 AudioDuration=2.000000 pix_fmt=yuv420p");
  // Only the first of two video streams counts.
  expectFields(parseRecorded("two_video.ini"),
               "Width=640 Height=480 VideoFramerate=25.000000 VideoBitrate=2232320");
  expectFields(parseRecorded("ten_bit.ini"), "pix_fmt=yuv420p10le HasAudio=false");
  // A song's cover picture is no video: the song is audio only.
  expectFields(parseRecorded("cover_art.ini"), "HasVideo=false HasAudio=true Width=0 VideoFramerate=0");

  // Missing stream figures come from the container. Audio only: T = 18779 * 8 / 2 = 75116.
  expectFields(parseRecorded("audio_only.ini"),
               "IsMediaFile=true HasVideo=false VideoCodec=Unknown Width=0 Height=0 VideoDuration=2.000000 "
               "VideoBitrate=43116 AudioBitrate=69671");
  // Video only: T = 559132 * 8 / 2 = 2236528.
  expectFields(parseRecorded("video_only.ini"), "HasAudio=false AudioDuration=2.000000 AudioBitrate=128000");
  // Matroska has no per-stream bit rate or duration: T = 577433 * 8 / 2.023 = 2283472.
  expectFields(parseRecorded("no_stream_bitrate.ini"),
               "VideoBitrate=2155472 AudioBitrate=128000 VideoDuration=2.023000 AudioDuration=2.023000");
}

TEST(FFprobeParse, RotationFromTagOrDisplayMatrix) {
  const std::string sideData = "[streams.stream.0.side_data_list.side_data.0] ";
  // The real probe's display matrix is checked on generated clips; older ones print more.
  expectFields(videoWith("", sideData + "rotation=-90.00"), "Rotate=270 Width=1920");
  EXPECT_EQ(videoWith("", sideData + "rotation=N/A").count("Rotate"), 0u);
  // An older probe prints the tag and the matrix: the tag, as printed, stays.
  expectFields(videoWith("", "[streams.stream.0.tags] rotate=90 " + sideData + "rotation=-90"), "Rotate=90");

  // Only the first video stream's own lines say how it is turned: not a second
  // video stream's, not a key that merely ends in "rotate". (Audio and container tags
  // go through the whole engine in the hostile-tools test.)
  // A cover picture before the real video stream gives way to it.
  expectFields(parseLines("[streams.stream.0] codec_name=mjpeg codec_type=video width=600 "
                          "[streams.stream.0.disposition] attached_pic=1 [streams.stream.0.tags] rotate=90 "
                          "[streams.stream.1] codec_name=h264 codec_type=video width=1280 "
                          "[streams.stream.1.disposition] attached_pic=0"),
               "VideoCodec=h264 Width=1280");
  for (const std::string& after : std::vector<std::string>{
           "[streams.stream.0.tags] xrotate=90 rotate_hint=90",
           "[streams.stream.1] codec_name=h264 codec_type=video [streams.stream.1.disposition] "
           "[streams.stream.1.tags] rotate=90 [streams.stream.1.side_data_list.side_data.0] rotation=90"}) {
    const Record info = videoWith("", after);
    EXPECT_EQ(info.count("Rotate"), 0u) << after;
    EXPECT_EQ(info.at("Width"), "1920") << after;
  }
}

TEST(FFprobeParse, LineRulesAndGapFilling) {
  // 10 000 000 bytes over 10 s: T = 8 000 000, audio 128 000, video 7 872 000.
  expectFields(parseLines("[streams.stream.0] codec_name=h264 codec_type=video coded_width=4000 width=1920 "
                          "coded_height=3000 height=1080 bit_rate=N/A max_bit_rate=9999 duration=N/A "
                          "r_frame_rate=30000/1001 [streams.stream.0.disposition] [streams.stream.1] "
                          "codec_name=aac codec_type=audio max_bit_rate=5 [streams.stream.1.disposition] "
                          "[format] filename=a.mp4 duration=10.000000 size=10000000"),
               "Width=1920 Height=1080 VideoFramerate=29.970030 VideoBitrate=7872000 AudioBitrate=128000 "
               "VideoDuration=10.000000");
  // The container's duration unknown: the video's takes its place.
  expectFields(videoWith("duration=5.5", "[format] duration=N/A size=5"), "OverallDuration=5.5");
  // A zero duration or an unknown size gives no total bit rate: leave them alone.
  expectFields(videoWith("bit_rate=N/A", "[format] duration=10.0 size=N/A"),
               "VideoBitrate=N/A AudioBitrate=0");
  expectFields(videoWith("", "[format] duration=0.000000 size=1000"), "VideoBitrate=0 AudioBitrate=0");

  EXPECT_EQ(FFprobeUtil::GetFrameRate("0/0"), 0.0);
  // The audio share's ends; the recorded reports reach its middle.
  const int table[][2] = {{400000, 32000}, {400001, 48000}, {8000000, 128000}, {8000001, 196000}};
  for (const auto& row : table) EXPECT_EQ(FFprobeUtil::GetAudioBitrate(row[0]), row[1]) << row[0];
}

TEST(FFprobeParse, EveryStreamWithItsMarksTitleAndLength) {
  std::istringstream in(
      "[streams.stream.0] index=0 codec_name=h264 codec_type=video width=1920 height=1080 "
      "[streams.stream.0.disposition] default=1 attached_pic=0 "
      "[streams.stream.1] index=1 codec_name=aac codec_type=audio channels=2 duration=N/A "
      "[streams.stream.1.disposition] default=0 forced=0 "
      // The probe's escapes, and a Matroska length tag.
      "[streams.stream.1.tags] language=ger title=Deutsch\\=gut\\:\\#1\\nzwei\\x0001 "
      "DURATION=00\\:01\\:02.500000000 "
      // A tag that looks like a header, and one whose value does.
      "[streams.stream.2] codec_name=subrip codec_type=subtitle duration=3.5 [streams.stream.2.disposition] "
      "forced=1 [streams.stream.2.tags] [streams.stream.7]= title=[streams.stream.9] "
      "[streams.stream.3] codec_type=data [streams.stream.3.side_data_list.side_data.0] channels=6 "
      "[format] filename=x duration=9 [format.tags] title=not-a-track");
  std::vector<std::string> lines;
  for (std::string line; in >> line;) lines.push_back(line);
  const std::vector<MediaTrack> tracks = FFprobeUtil::ParseProbeOutput("/in/x", lines).tracks;
  ASSERT_EQ(tracks.size(), 4u);
  EXPECT_TRUE(tracks[0].IsRealVideo() && tracks[0].isDefault);
  EXPECT_EQ(tracks[0].width * tracks[0].height, 1920 * 1080);
  const MediaTrack& german = tracks[1];
  EXPECT_EQ(german.kind, MediaTrack::Kind::Audio);
  EXPECT_EQ(german.language + "|" + german.title, "ger|Deutsch=gut:#1\nzwei\x01");
  EXPECT_EQ(german.duration.AsDouble(), 62.5);
  EXPECT_EQ(german.channels, 2);
  EXPECT_FALSE(german.isDefault || german.forced);
  EXPECT_EQ(tracks[2].codec + "|" + tracks[2].title, "subrip|[streams.stream.9]");
  EXPECT_TRUE(tracks[2].forced);
  EXPECT_EQ(tracks[2].duration.Text(), "3.5");
  // A side-data sub-section is not the stream's own section; the format's tags are no stream's.
  EXPECT_EQ(tracks[3].kind, MediaTrack::Kind::Data);
  EXPECT_EQ(tracks[3].channels + tracks[3].index, 3);
  EXPECT_EQ(tracks[3].title, "");

  // The recorded reports: a song's cover picture, Matroska's lengths in tags.
  const auto recorded = [](const std::string& name) {
    QFile file(QString(KOVADLE_TEST_DATA_DIR) + "/" + QString::fromStdString(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<std::string> report;
    for (const QByteArray& line : file.readAll().split('\n')) report.push_back(line.toStdString());
    return FFprobeUtil::ParseProbeOutput(name, report).tracks;
  };
  const std::vector<MediaTrack> song = recorded("cover_art.ini");
  ASSERT_EQ(song.size(), 2u);
  EXPECT_TRUE(song[1].kind == MediaTrack::Kind::Video && song[1].attachedPicture && !song[1].IsRealVideo());
  const std::vector<MediaTrack> matroska = recorded("no_stream_bitrate.ini");
  ASSERT_EQ(matroska.size(), 2u);
  EXPECT_NEAR(matroska[1].duration.AsDouble(), 2.0, 0.05);
}

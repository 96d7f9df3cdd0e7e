#include "probe/FFprobeUtil.h"

#include <climits>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "probe/ProbeLines.h"
#include "probe/ProbeTracks.h"
#include "process/ProcessRunner.h"
#include "text/StringUtil.h"

namespace {

using probe_lines::valueAfter;

bool has(const std::string& line, const char* part) { return StringUtil::contains(line, part); }

std::string cleaned(std::string line, std::initializer_list<const char*> removed) {
  StringUtil::trim_white_space(line);
  // Their values must not be taken for width, height or bit rate.
  for (const char* word : removed) StringUtil::replace_all(line, word, "");
  return line;
}

void readVideoLines(const std::vector<std::string>& lines, MediaInfo& info) {
  bool rotateTagSeen = false;
  for (const std::string& raw : lines) {
    const std::string line = cleaned(raw, {"coded_width", "coded_height", "max_bit_rate"});
    if (has(line, "codec_name")) {
      info.videoCodec = valueAfter(line, "codec_name=");
      info.hasVideo = true;
    } else if (has(line, "bit_rate")) {
      info.videoBitrate = MediaFigure(valueAfter(line, "bit_rate="));
    } else if (has(line, "width")) {
      info.width = MediaFigure(valueAfter(line, "width="));
    } else if (has(line, "height")) {
      info.height = MediaFigure(valueAfter(line, "height="));
    } else if (has(line, "r_frame_rate")) {
      info.videoFramerate =
          MediaFigure::Decimal(FFprobeUtil::GetFrameRate(valueAfter(line, "r_frame_rate=")));
    } else if (has(line, "duration=")) {
      info.videoDuration = MediaFigure(valueAfter(line, "duration="));
    } else if (probe_lines::isRotateTag(line)) {
      info.rotate = MediaFigure(valueAfter(line, "rotate="));
      rotateTagSeen = true;
    } else if (probe_lines::isRotationAngle(line)) {
      // Newer probes print only the display matrix angle; an explicit rotate tag,
      // where an older probe prints both, stays the authority.
      int degrees = 0;
      if (!rotateTagSeen && probe_lines::normalizedDegrees(valueAfter(line, "rotation="), degrees) &&
          degrees != 0) {
        info.rotate = MediaFigure::Whole(degrees);
      }
    } else if (has(line, "pix_fmt=")) {
      info.pixFmt = valueAfter(line, "pix_fmt=");
    }
  }
}

void readAudioLines(const std::vector<std::string>& lines, MediaInfo& info) {
  for (const std::string& raw : lines) {
    const std::string line = cleaned(raw, {"max_bit_rate"});
    if (has(line, "codec_name")) {
      info.audioCodec = valueAfter(line, "codec_name=");
      info.hasAudio = true;
    } else if (has(line, "bit_rate")) {
      info.audioBitrate = MediaFigure(valueAfter(line, "bit_rate="));
    } else if (has(line, "channels=")) {
      info.audioChannel = MediaFigure(valueAfter(line, "channels="));
    } else if (has(line, "sample_rate=")) {
      info.audioSampleRate = MediaFigure(valueAfter(line, "sample_rate="));
    } else if (has(line, "duration=")) {
      info.audioDuration = MediaFigure(valueAfter(line, "duration="));
    }
  }
}

void readFormatLines(const std::vector<std::string>& lines, MediaInfo& info) {
  for (const std::string& raw : lines) {
    const std::string line = cleaned(raw, {});
    if (has(line, "duration=")) {
      info.overallDuration = MediaFigure(valueAfter(line, "duration="));
    } else if (has(line, "size=")) {
      info.fileSize = MediaFigure(valueAfter(line, "size="));
    }
  }
}

// Total bit rate from the container's size and duration; 0 when they give none.
int totalBitrate(const MediaInfo& info) {
  const double duration = info.overallDuration.AsDouble();
  const long long size = info.fileSize.AsInt64();
  if (!(duration > 0.0) || size <= 0) return 0;
  const double total = static_cast<double>(size) / duration * 8;
  return total >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(total);
}

// A figure is missing when it is "0" or "N/A".
void fillGaps(MediaInfo& info) {
  const bool overallUsable = info.overallDuration.Known();
  if (!info.videoDuration.Known() && overallUsable) info.videoDuration = info.overallDuration;
  if (!info.audioDuration.Known() && overallUsable) info.audioDuration = info.overallDuration;
  // A zero duration or an unknown size gives no total: the bit rates stay as they are,
  // rather than becoming negative.
  const int total = overallUsable ? totalBitrate(info) : 0;
  if (!info.videoBitrate.Known() && total > 0) {
    const int video = total - FFprobeUtil::GetAudioBitrate(total);
    if (video > 0) info.videoBitrate = MediaFigure::Whole(video);
  }
  if (!info.audioBitrate.Known() && total > 0) {
    info.audioBitrate = MediaFigure::Whole(FFprobeUtil::GetAudioBitrate(total));
  }
  if (!info.overallDuration.Known() && info.videoDuration.Known()) info.overallDuration = info.videoDuration;
}

void dumpLines(const char* banner, const std::vector<std::string>& lines) {
  log_info(std::string("-------------------------------------") + banner +
           "-------------------------------------");
  for (const std::string& line : lines) log_info(line);
}

}  // namespace

MediaInfo FFprobeUtil::GetMediaInfo(const std::string& file) {
  CommandLine command(GetProbePath());
  command.Add({"-loglevel", "quiet", "-print_format", "ini", "-show_streams", "-show_format", "-i"})
      .AddPath(file);
  log_info("FFprobeUtil::GetMediaInfo,mediaInfoCmd:" + command.ToString());
  ProcessRunner probe(command);
  probe.Start(30000);
  return ParseProbeOutput(file, ProcessRunner::Lines(probe.RunToEnd(30000)));
}

std::string FFprobeUtil::GetProbePath() {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"),
                          "mediainfo" + OSUtil::executableSuffix());
}

void FFprobeUtil::InitMediaInfo(MediaInfo& info) { info = MediaInfo(); }

double FFprobeUtil::GetFrameRate(const std::string& ratio) {
  const size_t slash = ratio.find('/');
  const double numerator = StringUtil::str_to_double(ratio.substr(0, slash));
  if (slash == std::string::npos) return numerator;
  const double denominator = StringUtil::str_to_double(ratio.substr(slash + 1));
  // "0/0" is what the probe prints for streams without a frame rate.
  return denominator == 0.0 ? 0.0 : numerator / denominator;
}

int FFprobeUtil::GetAudioBitrate(int total_bitrate) {
  if (total_bitrate <= 400000) return 32000;
  if (total_bitrate <= 800000) return 48000;
  if (total_bitrate <= 1200000) return 56000;
  if (total_bitrate <= 1500000) return 64000;
  if (total_bitrate <= 2000000) return 96000;
  if (total_bitrate <= 8000000) return 128000;
  return 196000;
}

// One pass over the INI report: the main section of the first video stream and of
// the first audio stream, the first video stream's own rotation lines, and the
// [format] section. A stream marked as an attached picture is not video.
void FFprobeUtil::SplitSections(const std::vector<std::string>& lines, std::vector<std::string>& video,
                                std::vector<std::string>& audio, std::vector<std::string>& format) {
  std::string type = "unknown";
  std::vector<std::string> streamBlock;
  std::vector<std::string> formatBlock;
  bool inStream = false;
  bool inFormat = false;
  bool formatSeen = false;
  std::string videoStream;    // number of the stream that gave the video lines
  std::string currentStream;  // number of the stream whose (sub-)section this is

  for (const std::string& line : lines) {
    if (probe_lines::isSectionHeader(line)) currentStream = probe_lines::streamOfHeader(line);
    // A stream section ends where the next section (or sub-section) header begins.
    if (StringUtil::contains(line, "[streams.stream")) {
      if (type == "video" && video.empty()) {
        video = streamBlock;
        if (!streamBlock.empty()) videoStream = probe_lines::streamOfHeader(streamBlock.front());
      } else if (type == "audio" && audio.empty()) {
        audio = streamBlock;
      }
      streamBlock.clear();
      inStream = true;
    }
    if (StringUtil::contains(line, "codec_type=video")) {
      type = "video";
    } else if (StringUtil::contains(line, "codec_type=audio")) {
      type = "audio";
    }
    if (StringUtil::contains(line, "[forma") || StringUtil::contains(line, "format]")) {
      if (formatSeen) format = formatBlock;
      formatBlock.clear();
      inFormat = true;
      inStream = false;
    }
    if (StringUtil::contains(line, "[format]") || StringUtil::contains(line, "filename=")) formatSeen = true;
    // Rotation lives in the stream's tags or side data, outside its main section.
    // A container tag or another stream's tag says nothing about this stream.
    if (!videoStream.empty() && currentStream == videoStream &&
        (probe_lines::isRotateTag(line) || probe_lines::isRotationAngle(line)))
      video.push_back(line);
    // A cover picture is stored as a video stream marked as attached: it is not
    // video, so its lines go and the next real video stream may take their place.
    if (!videoStream.empty() && currentStream == videoStream && probe_lines::isAttachedPicture(line)) {
      video.clear();
      videoStream.clear();
      type = "unknown";
    }
    if (inStream) streamBlock.push_back(line);
    if (inFormat) formatBlock.push_back(line);
  }
  if (format.empty() && formatSeen && !formatBlock.empty()) format = formatBlock;
}

MediaInfo FFprobeUtil::ParseProbeOutput(const std::string& file, const std::vector<std::string>& lines) {
  MediaInfo info;
  InitMediaInfo(info);
  info.mediaFileName = file;

  std::vector<std::string> video;
  std::vector<std::string> audio;
  std::vector<std::string> format;
  SplitSections(lines, video, audio, format);
  if (is_debug_mode()) {
    dumpLines("mediaInfoOutputs", lines);
    dumpLines("videoStreamInfo", video);
    dumpLines("audioStreamInfo", audio);
    dumpLines("formatInfo", format);
  }

  readVideoLines(video, info);
  readAudioLines(audio, info);
  readFormatLines(format, info);
  info.tracks = ProbeTracks::Read(lines);
  info.isMediaFile = info.hasVideo || info.hasAudio;
  fillGaps(info);

  if (is_debug_mode()) {
    log_info("-------------------------------------retMediaInfo-------------------------------------");
    for (const auto& entry : info.ToMap()) log_info("key:" + entry.first + ", value:" + entry.second);
  }
  return info;
}

#include <climits>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "probe/FFprobeUtil.h"
#include "probe/ProbeLines.h"
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
      info["VideoCodec"] = valueAfter(line, "codec_name=");
      info["HasVideo"] = "true";
    } else if (has(line, "bit_rate")) {
      info["VideoBitrate"] = valueAfter(line, "bit_rate=");
    } else if (has(line, "width")) {
      info["Width"] = valueAfter(line, "width=");
    } else if (has(line, "height")) {
      info["Height"] = valueAfter(line, "height=");
    } else if (has(line, "r_frame_rate")) {
      info["VideoFramerate"] =
          StringUtil::double_to_str(FFprobeUtil::GetFrameRate(valueAfter(line, "r_frame_rate=")));
    } else if (has(line, "duration=")) {
      info["VideoDuration"] = valueAfter(line, "duration=");
    } else if (probe_lines::isRotateTag(line)) {
      info["Rotate"] = valueAfter(line, "rotate=");
      rotateTagSeen = true;
    } else if (probe_lines::isRotationAngle(line)) {
      // Newer probes print only the display matrix angle; an explicit rotate tag,
      // where an older probe prints both, stays the authority.
      int degrees = 0;
      if (!rotateTagSeen && probe_lines::normalizedDegrees(valueAfter(line, "rotation="), degrees) &&
          degrees != 0) {
        info["Rotate"] = std::to_string(degrees);
      }
    } else if (has(line, "pix_fmt=")) {
      info["pix_fmt"] = valueAfter(line, "pix_fmt=");
    }
  }
}

void readAudioLines(const std::vector<std::string>& lines, MediaInfo& info) {
  for (const std::string& raw : lines) {
    const std::string line = cleaned(raw, {"max_bit_rate"});
    if (has(line, "codec_name")) {
      info["AudioCodec"] = valueAfter(line, "codec_name=");
      info["HasAudio"] = "true";
    } else if (has(line, "bit_rate")) {
      info["AudioBitrate"] = valueAfter(line, "bit_rate=");
    } else if (has(line, "channels=")) {
      info["AudioChannel"] = valueAfter(line, "channels=");
    } else if (has(line, "sample_rate=")) {
      info["AudioSampleRate"] = valueAfter(line, "sample_rate=");
    } else if (has(line, "duration=")) {
      info["AudioDuration"] = valueAfter(line, "duration=");
    }
  }
}

void readFormatLines(const std::vector<std::string>& lines, MediaInfo& info) {
  for (const std::string& raw : lines) {
    const std::string line = cleaned(raw, {});
    if (has(line, "duration=")) {
      info["OverallDuration"] = valueAfter(line, "duration=");
    } else if (has(line, "size=")) {
      info["FileSize"] = valueAfter(line, "size=");
    }
  }
}

bool missing(const std::string& value) { return value == "0" || value == "N/A"; }

// Total bit rate from the container's size and duration; 0 when they give none.
int totalBitrate(const MediaInfo& info) {
  const double duration = StringUtil::str_to_double(info.at("OverallDuration"));
  const long long size = StringUtil::str_to_int64(info.at("FileSize"));
  if (!(duration > 0.0) || size <= 0) return 0;
  const double total = static_cast<double>(size) / duration * 8;
  return total >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(total);
}

void fillGaps(MediaInfo& info) {
  const bool overallUsable = !missing(info["OverallDuration"]);
  if (missing(info["VideoDuration"]) && overallUsable) info["VideoDuration"] = info["OverallDuration"];
  if (missing(info["AudioDuration"]) && overallUsable) info["AudioDuration"] = info["OverallDuration"];
  // A zero duration or an unknown size gives no total: the bit rates stay as they are,
  // rather than becoming negative.
  const int total = overallUsable ? totalBitrate(info) : 0;
  if (missing(info["VideoBitrate"]) && total > 0) {
    const int video = total - FFprobeUtil::GetAudioBitrate(total);
    if (video > 0) info["VideoBitrate"] = std::to_string(video);
  }
  if (missing(info["AudioBitrate"]) && total > 0) {
    info["AudioBitrate"] = std::to_string(FFprobeUtil::GetAudioBitrate(total));
  }
  if (missing(info["OverallDuration"]) && !missing(info["VideoDuration"])) {
    info["OverallDuration"] = info["VideoDuration"];
  }
}

void dumpLines(const char* banner, const std::vector<std::string>& lines) {
  log_info(std::string("-------------------------------------") + banner +
           "-------------------------------------");
  for (const std::string& line : lines) log_info(line);
}

}  // namespace

MediaInfo FFprobeUtil::ParseProbeOutput(const std::string& file, const std::vector<std::string>& lines) {
  MediaInfo info;
  InitMediaInfo(info);
  info["MediaFileName"] = file;

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
  info["IsMediaFile"] = (info["HasVideo"] == "true" || info["HasAudio"] == "true") ? "true" : "false";
  fillGaps(info);

  if (is_debug_mode()) {
    log_info("-------------------------------------retMediaInfo-------------------------------------");
    for (const auto& entry : info) log_info("key:" + entry.first + ", value:" + entry.second);
  }
  return info;
}

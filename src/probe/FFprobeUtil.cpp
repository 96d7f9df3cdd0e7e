#include "probe/FFprobeUtil.h"

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "process/CmdUtil.h"
#include "text/StringUtil.h"

MediaInfo FFprobeUtil::GetMediaInfo(const std::string& file) {
  // Both paths quoted so that the command splits back into exactly these two paths.
  const std::string cmd = CmdUtil::QuotePath(GetProbePath()) +
                          " -loglevel quiet -print_format ini -show_streams -show_format -i " +
                          CmdUtil::QuotePath(file);
  log_info("FFprobeUtil::GetMediaInfo,mediaInfoCmd:" + cmd);
  const std::vector<std::string> lines = CmdUtil::GetOutputAsLineListQt(QString::fromUtf8(cmd.c_str()));
  return ParseProbeOutput(file, lines);
}

std::string FFprobeUtil::GetProbePath() {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"),
                          "mediainfo" + OSUtil::executableSuffix());
}

void FFprobeUtil::InitMediaInfo(MediaInfo& info) {
  info["MediaFileName"] = "";
  info["IsMediaFile"] = "false";
  info["HasVideo"] = "false";
  info["HasAudio"] = "false";
  info["OverallDuration"] = "0";
  info["FileSize"] = "0";
  info["VideoCodec"] = "Unknown";
  info["VideoBitrate"] = "0";
  info["Width"] = "0";
  info["Height"] = "0";
  info["VideoFramerate"] = "0";
  info["VideoDuration"] = "0";
  info["AudioCodec"] = "Unknown";
  info["AudioBitrate"] = "0";
  info["AudioChannel"] = "0";
  info["AudioSampleRate"] = "0";
  info["AudioDuration"] = "0";
}

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

#include <cmath>
#include <cstdint>
#include <iostream>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/QualityMapping.h"
#include "text/StringUtil.h"

namespace {

std::string textOf(const std::map<std::string, std::string>& record, const char* key) {
  const auto it = record.find(key);
  return it == record.end() ? std::string() : it->second;
}

// A value the input does not report (0), or reports as negative, leaves the
// table's target in force.
int cappedBitrate(int input, int target) {
  if (input <= 0) return target;
  return input < target ? input : target;
}

// No real frame has a side longer than this; such a figure is as good as none.
const int kLargestFrameSide = 16384;

void debugLog(const std::string& label, const std::string& value) {
  if (is_debug_mode()) log_info("FFmpegCmdGenerator::GetFFmpegParams," + label + value);
}

}  // namespace

FFmpegParams FFmpegCmdGenerator::ParamsFor(const MediaInfo& info, const std::string& inputFile,
                                           const std::string& outputFile, const std::string& quality) {
  FFmpegParams params;
  params["InputFile"] = inputFile;
  params["OutputFile"] = outputFile;

  const int input_video_bitrate = StringUtil::str_to_int(textOf(info, "VideoBitrate"));
  const int input_audio_bitrate = StringUtil::str_to_int(textOf(info, "AudioBitrate"));
  const int input_width = StringUtil::str_to_int(textOf(info, "Width"));
  const int input_height = StringUtil::str_to_int(textOf(info, "Height"));
  const double input_framerate = StringUtil::str_to_double(textOf(info, "VideoFramerate"));

  if (textOf(info, "HasVideo") == "false") {
    std::cout << "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:" << inputFile
              << std::endl;
    return params;
  }
  const std::string range = GetResolutionRange(input_width);
  if (range == "b4k") {
    std::cout << "Error,FFmpegCmdGenerator::Generate, video width>4500, not supported now!" << std::endl;
    return params;
  }
  if (range == "s480p") {
    std::cout << "Error,FFmpegCmdGenerator::Generate, video width<480, not supported now!" << std::endl;
    return params;
  }
  const QualityMapping& mapping = QualityMapping::Instance();
  if (!mapping.HasTable(range)) {
    std::cout << "Error,FFmpegCmdGenerator::Generate,resolution_range invalid, resolution_range:" << range
              << std::endl;
    return params;
  }

  // A quality the table lacks gives an empty row, so every target reads 0.
  const QualityRow row = mapping.GetMapping(range, quality);
  const int mapping_video_bitrate = StringUtil::str_to_int(textOf(row, "VideoBitrate"));
  const int mapping_audio_bitrate = StringUtil::str_to_int(textOf(row, "AudioBitrate"));
  const int mapping_width = StringUtil::str_to_int(textOf(row, "Width"));
  const double mapping_framerate = StringUtil::str_to_double(textOf(row, "VideoFramerate"));
  const std::string preset = textOf(row, "Preset");

  const int output_video_bitrate = cappedBitrate(input_video_bitrate, mapping_video_bitrate);
  const int output_audio_bitrate = cappedBitrate(input_audio_bitrate, mapping_audio_bitrate);
  int output_width = input_width < mapping_width ? input_width : mapping_width;
  // The table has no height: keep the input's aspect ratio, truncating toward zero.
  // A height the probe did not give (0, negative, "inf", absurd) would plan a
  // frame the encoder refuses: assume the common 16:9 shape instead.
  int64_t output_height = input_height;
  if (input_height <= 0 || input_height > kLargestFrameSide) {
    output_height = static_cast<int64_t>(output_width) * 9 / 16;
  } else if (output_width != input_width) {
    output_height = static_cast<int64_t>(static_cast<double>(input_height) * output_width / input_width);
  }
  // The encoder needs even frame sizes for 4:2:0 output.
  if (output_width % 2 != 0) ++output_width;
  if (output_height % 2 != 0) ++output_height;
  // An input rate that was not reported (0, unreadable, negative, "inf", "nan", or
  // too small to print) takes the target, as the bitrates do: the encoder refuses
  // "-r 0.000", so the job could never succeed.
  const bool framerate_usable = std::isfinite(input_framerate) && input_framerate >= 0.001;
  const double output_framerate =
      framerate_usable && input_framerate < mapping_framerate ? input_framerate : mapping_framerate;

  params["Preset"] = preset;
  params["VideoBitrate"] = std::to_string(output_video_bitrate);
  params["AudioBitrate"] = std::to_string(output_audio_bitrate);
  params["VideoFramerate"] = StringUtil::double_to_fixed_str(output_framerate, 3);
  params["Width"] = std::to_string(output_width);
  params["Height"] = std::to_string(output_height);
  params["HasAudio"] = textOf(info, "HasAudio");
  params["pix_fmt"] = textOf(info, "pix_fmt");
  const auto rotate = info.find("Rotate");
  params["HasRotate"] = rotate != info.end() ? "true" : "false";
  if (rotate != info.end()) params["Rotate"] = rotate->second;

  debugLog("input_video_bitrate:", std::to_string(input_video_bitrate));
  debugLog("mapping_video_bitrate:", std::to_string(mapping_video_bitrate));
  debugLog("output_video_bitrate:", params["VideoBitrate"]);
  debugLog("input_audio_bitrate:", std::to_string(input_audio_bitrate));
  debugLog("mapping_audio_bitrate:", std::to_string(mapping_audio_bitrate));
  debugLog("output_audio_bitrate:", params["AudioBitrate"]);
  debugLog("input_video_framerate:", StringUtil::double_to_fixed_str(input_framerate, 6));
  debugLog("mapping_video_framerate:", StringUtil::double_to_fixed_str(mapping_framerate, 6));
  debugLog("output_framerate:", params["VideoFramerate"]);
  debugLog("input_width:", std::to_string(input_width));
  debugLog("mapping_width:", std::to_string(mapping_width));
  debugLog("output_width:", params["Width"]);
  debugLog("input_height:", std::to_string(input_height));
  debugLog("Note:No mapping_height, only mapping_width.", "");
  debugLog("output_height:", params["Height"]);
  debugLog("mapping_preset:", preset);
  return params;
}

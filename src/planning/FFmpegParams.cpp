#include "planning/FFmpegParams.h"

#include "text/StringUtil.h"

std::map<std::string, std::string> FFmpegParams::ToMap() const {
  std::map<std::string, std::string> view = {{"InputFile", inputFile}, {"OutputFile", outputFile}};
  if (!planned) return view;
  view["Preset"] = preset;
  view["VideoBitrate"] = std::to_string(videoBitrate);
  view["AudioBitrate"] = std::to_string(audioBitrate);
  view["VideoFramerate"] = StringUtil::double_to_fixed_str(videoFramerate, 3);
  view["Width"] = std::to_string(width);
  view["Height"] = std::to_string(height);
  view["HasAudio"] = StringUtil::bool_to_str(hasAudio);
  view["pix_fmt"] = pixFmt;
  view["HasRotate"] = StringUtil::bool_to_str(rotate.has_value());
  if (rotate) view["Rotate"] = rotate->Text();
  return view;
}

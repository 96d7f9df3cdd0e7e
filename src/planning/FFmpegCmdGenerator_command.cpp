#include "environment/AppConstants.h"
#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "process/CmdUtil.h"

namespace {

std::string textOf(const FFmpegParams& params, const char* key) {
  const auto it = params.find(key);
  return it == params.end() ? std::string() : it->second;
}

}  // namespace

std::string FFmpegCmdGenerator::GetEncoderPath() {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"),
                          "encoder" + OSUtil::executableSuffix());
}

std::string FFmpegCmdGenerator::CommandFor(const FFmpegParams& params) {
  const std::string input = textOf(params, "InputFile");
  const std::string output = textOf(params, "OutputFile");
  const std::string width = textOf(params, "Width");
  const std::string height = textOf(params, "Height");
  // Case-sensitive on purpose: ".MP4" is not given the MP4-only options.
  const bool is_mp4 = OSUtil::getFileExtension(output) == ".mp4";

  std::string frame_size = width + "x" + height;
  std::string rotation;
  if (textOf(params, "HasRotate") == "true") {
    const std::string rotate = textOf(params, "Rotate");
    if (is_mp4) {
      // MP4 keeps the rotation as display metadata: encode the coded frames as they are.
      rotation = " -noautorotate";
    } else if (rotate == "90" || rotate == "270") {
      // Elsewhere the encoder turns the frames upright, so width and height trade places.
      frame_size = height + "x" + width;
    }
  }

  const std::string pix_fmt = textOf(params, "pix_fmt");
  // H.264 players mostly handle 8-bit 4:2:0 only.
  const std::string pixel_format =
      (pix_fmt == "yuv420p10le" || pix_fmt == "yuv422p10le") ? " -pix_fmt yuv420p" : "";
  const std::string metadata = " -metadata encoding_tool=Lavf58.29.10_KV" + get_current_version();
  const std::string fast_start = is_mp4 ? " -movflags +faststart" : "";
  std::string audio = " -acodec aac -b:a ";
  std::string audio_bitrate = textOf(params, "AudioBitrate");
  if (textOf(params, "HasAudio") == "false") {
    audio = " -an";
    audio_bitrate.clear();
  }

  return CmdUtil::QuotePath(GetEncoderPath()) + rotation + " -y -i " + CmdUtil::QuotePath(input) +
         pixel_format + metadata + fast_start + audio + audio_bitrate + " -vcodec h264 -preset " +
         textOf(params, "Preset") + " -s " + frame_size + " -b:v " + textOf(params, "VideoBitrate") + " -r " +
         textOf(params, "VideoFramerate") + " " + CmdUtil::QuotePath(output);
}

#include "planning/FFmpegCmdGenerator.h"

#include <cmath>
#include <iostream>
#include <map>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "planning/InputAcceptance.h"
#include "planning/QualityMapping.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/StringUtil.h"

namespace {

// Reports a refused input on standard output under the operation's name; false
// when the input is accepted. Without video it names Generate whoever asks.
bool refused(const MediaInfo& info, const char* operation, const std::string& inputFile) {
  switch (InputAcceptance::Judge(info)) {
    case InputAcceptance::Verdict::NoStreams:
    case InputAcceptance::Verdict::AudioOnly:
      std::cout << "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:" << inputFile
                << std::endl;
      return true;
    case InputAcceptance::Verdict::TooWide:
      std::cout << "Error,FFmpegCmdGenerator::" << operation << ", video width>4500, not supported now!"
                << std::endl;
      return true;
    case InputAcceptance::Verdict::TooNarrow:
      std::cout << "Error,FFmpegCmdGenerator::" << operation << ", video width<480, not supported now!"
                << std::endl;
      return true;
    case InputAcceptance::Verdict::Accepted:
      break;
  }
  return false;
}

// The class's table, or (never for an accepted input) none with the message.
bool hasTable(const std::string& range, const char* operation) {
  if (QualityMapping::Instance().HasTable(range)) return true;
  std::cout << "Error,FFmpegCmdGenerator::" << operation
            << ",resolution_range invalid, resolution_range:" << range << std::endl;
  return false;
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

// Names every kept stream: the video first, then the audio tracks and subtitles
// in the input's order.
void addStreamMaps(CommandLine& command, const TrackPlan& tracks) {
  const KeptStreams kept = tracks.Kept();
  std::vector<int> order = {kept.video};
  order.insert(order.end(), kept.audio.begin(), kept.audio.end());
  order.insert(order.end(), kept.subtitles.begin(), kept.subtitles.end());
  for (int index : order) command.Add("-map").Add("0:" + std::to_string(index));
}

// Each subtitle's codec, and in MP4 each title as the handler name players show.
// Languages, titles and marks elsewhere come over with the streams unasked.
void addTrackOptions(CommandLine& command, const TrackPlan& tracks) {
  const std::vector<TrackPlan::Stream> subtitles = tracks.KeptOf(MediaTrack::Kind::Subtitle);
  for (size_t i = 0; i < subtitles.size(); ++i)
    command.Add("-c:s:" + std::to_string(i)).Add(subtitles[i].encoding);
  if (!tracks.container.TitleAsHandlerName()) return;
  for (const auto& kind :
       {std::make_pair(MediaTrack::Kind::Audio, "a"), std::make_pair(MediaTrack::Kind::Subtitle, "s")}) {
    const std::vector<TrackPlan::Stream> streams = tracks.KeptOf(kind.first);
    for (size_t i = 0; i < streams.size(); ++i) {
      if (streams[i].track.title.empty()) continue;
      command.Add("-metadata:s:" + std::string(kind.second) + ":" + std::to_string(i))
          .Add("handler_name=" + streams[i].track.title);
    }
  }
}

}  // namespace

std::string FFmpegCmdGenerator::GetEncoderPath() {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"),
                          "encoder" + OSUtil::executableSuffix());
}

std::string FFmpegCmdGenerator::GetResolutionRange(int32_t width) {
  if (width > 4500) return "b4k";
  if (width > 2999) return "4k";
  if (width > 2049) return "2k";
  if (width > 1599) return "1080p";
  if (width > 999) return "720p";
  if (width > 479) return "480p";
  return "s480p";
}

std::vector<std::string> FFmpegCmdGenerator::GetQualitys(const std::string& inputFile) {
  return QualitysFor(MediaInfoCache::GetInstance().GetMediaInfo(inputFile), inputFile);
}

FFmpegParams FFmpegCmdGenerator::GetFFmpegParams(const std::string& inputFile, const std::string& outputFile,
                                                 const std::string& quality) {
  return ParamsFor(MediaInfoCache::GetInstance().GetMediaInfo(inputFile), inputFile, outputFile, quality);
}

CommandLine FFmpegCmdGenerator::Generate(const std::string& inputFile, const std::string& outputFile,
                                         const std::string& quality, bool keepAllTracks) {
  const CommandLine command = CommandFor(ParamsFor(MediaInfoCache::GetInstance().GetMediaInfo(inputFile),
                                                   inputFile, outputFile, quality, keepAllTracks));
  // The command holds the user's file names: only debug builds write it to the log.
  log_info(std::string("FFmpegCmdGenerator::Generate,ffmpeg_cmd:") +
           (is_debug_mode() ? command.ToString() : ""));
  return command;
}

std::vector<std::string> FFmpegCmdGenerator::QualitysFor(const MediaInfo& info,
                                                         const std::string& inputFile) {
  if (refused(info, "GetQualitys", inputFile)) return {};
  const std::string range = GetResolutionRange(info.width.AsInt());
  if (!hasTable(range, "GetQualitys")) return {};
  return QualityMapping::Instance().GetKeys(range);
}

FFmpegParams FFmpegCmdGenerator::ParamsFor(const MediaInfo& info, const std::string& inputFile,
                                           const std::string& outputFile, const std::string& quality,
                                           bool keepAllTracks) {
  FFmpegParams params;
  params.inputFile = inputFile;
  params.outputFile = outputFile;
  if (refused(info, "Generate", inputFile)) return params;
  const int input_width = info.width.AsInt();
  const std::string range = GetResolutionRange(input_width);
  if (!hasTable(range, "Generate")) return params;

  const int input_video_bitrate = info.videoBitrate.AsInt();
  const int input_audio_bitrate = info.audioBitrate.AsInt();
  const int input_height = info.height.AsInt();
  const double input_framerate = info.videoFramerate.AsDouble();
  // A quality the table lacks gives an empty row, so every target reads 0.
  const QualityRow row = QualityMapping::Instance().GetMapping(range, quality).value_or(QualityRow());

  const int output_video_bitrate = cappedBitrate(input_video_bitrate, row.videoBitrate);
  const int output_audio_bitrate = cappedBitrate(input_audio_bitrate, row.audioBitrate);
  int output_width = input_width < row.width ? input_width : row.width;
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
      framerate_usable && input_framerate < row.videoFramerate ? input_framerate : row.videoFramerate;

  params.planned = true;
  params.preset = row.preset;
  params.videoBitrate = output_video_bitrate;
  params.audioBitrate = output_audio_bitrate;
  params.videoFramerate = output_framerate;
  params.width = output_width;
  params.height = static_cast<int>(output_height);
  params.hasAudio = info.hasAudio;
  params.pixFmt = info.pixFmt.value_or(std::string());
  params.rotate = info.rotate;
  params.keepAllTracks = keepAllTracks;
  params.tracks = TrackPlan::For(info, OSUtil::getFileExtension(outputFile), keepAllTracks);
  params.namedStreams = keepAllTracks || NamesUsualStreams();

  if (is_debug_mode()) {
    const std::map<std::string, std::string> output = params.ToMap();
    debugLog("input_video_bitrate:", std::to_string(input_video_bitrate));
    debugLog("mapping_video_bitrate:", std::to_string(row.videoBitrate));
    debugLog("output_video_bitrate:", output.at("VideoBitrate"));
    debugLog("input_audio_bitrate:", std::to_string(input_audio_bitrate));
    debugLog("mapping_audio_bitrate:", std::to_string(row.audioBitrate));
    debugLog("output_audio_bitrate:", output.at("AudioBitrate"));
    debugLog("input_video_framerate:", StringUtil::double_to_fixed_str(input_framerate, 6));
    debugLog("mapping_video_framerate:", StringUtil::double_to_fixed_str(row.videoFramerate, 6));
    debugLog("output_framerate:", output.at("VideoFramerate"));
    debugLog("input_width:", std::to_string(input_width));
    debugLog("mapping_width:", std::to_string(row.width));
    debugLog("output_width:", output.at("Width"));
    debugLog("input_height:", std::to_string(input_height));
    debugLog("Note:No mapping_height, only mapping_width.", "");
    debugLog("output_height:", output.at("Height"));
    debugLog("mapping_preset:", row.preset);
  }
  return params;
}

const char* const FFmpegCmdGenerator::kPassLog = "kovadle-pass-log";

CommandLine FFmpegCmdGenerator::CommandFor(const FFmpegParams& params, Pass pass) {
  // The texts of the parameters (only the paths for an input that was not planned).
  const std::map<std::string, std::string> view = params.ToMap();
  const auto text = [&view](const char* key) {
    const auto found = view.find(key);
    return found == view.end() ? std::string() : found->second;
  };
  // Case-sensitive on purpose: ".MP4" is not given the MP4-only options.
  const bool is_mp4 = OSUtil::getFileExtension(params.outputFile) == ".mp4";
  const bool rotated = text("HasRotate") == "true";
  const bool analysis = pass == Pass::Analysis;
  std::string frame_size = text("Width") + "x" + text("Height");
  // Elsewhere than in MP4 the encoder turns the frames upright, so width and height
  // trade places.
  if (rotated && !is_mp4 && (text("Rotate") == "90" || text("Rotate") == "270"))
    frame_size = text("Height") + "x" + text("Width");

  CommandLine command(GetEncoderPath());
  // The values an input that was not planned lacks are left out rather than passed
  // empty: the encoder then names its input as what it cannot read.
  const auto value = [&command](const std::string& text) {
    if (!text.empty()) command.Add(text);
  };
  // MP4 keeps the rotation as display metadata: encode the coded frames as they are.
  if (rotated && is_mp4) command.Add("-noautorotate");
  command.Add({"-y", "-i"}).AddPath(params.inputFile);
  // H.264 players mostly handle 8-bit 4:2:0 only.
  const std::string pix_fmt = text("pix_fmt");
  if (pix_fmt == "yuv420p10le" || pix_fmt == "yuv422p10le") command.Add({"-pix_fmt", "yuv420p"});
  const bool mapped = params.namedStreams && params.tracks.Kept().video >= 0;
  if (analysis) {
    // Only the video is looked at, the very stream the output's run encodes.
    if (mapped) command.Add("-map").Add("0:" + std::to_string(params.tracks.Kept().video));
    command.Add({"-an", "-sn", "-dn"});
  } else {
    command.Add("-metadata").Add("encoding_tool=Lavf58.29.10_KV" + get_current_version());
    if (is_mp4) command.Add({"-movflags", "+faststart"});
    if (mapped) addStreamMaps(command, params.tracks);
    if (text("HasAudio") == "false") {
      command.Add("-an");
    } else {
      command.Add({"-acodec", "aac", "-b:a"});
      value(text("AudioBitrate"));
    }
    // The usual command's streams take the encoder's own codecs and names.
    if (mapped && params.keepAllTracks) addTrackOptions(command, params.tracks);
  }
  // Both runs must see the very same frames: the frame rate is made by a filter
  // before the encoder, not by the output's muxer, whose frame-timing rules differ
  // between the null output of the analysis and a container.
  if (pass != Pass::Only && !text("VideoFramerate").empty())
    command.Add("-vf").Add("fps=" + text("VideoFramerate"));
  command.Add({"-vcodec", "h264", "-preset"});
  value(text("Preset"));
  command.Add("-s").Add(frame_size).Add("-b:v");
  value(text("VideoBitrate"));
  command.Add("-r");
  value(text("VideoFramerate"));
  if (pass == Pass::Only) return command.AddPath(params.outputFile);
  // Nor may the muxer's frame timing differ: left to each output, a container that
  // keeps a constant rate repeats the first frame of a video that starts a moment
  // after its audio (most files with AAC do), the null output does not, and the
  // second run then has a frame the analysis never saw.
  command.Add({"-vsync", "cfr"});
  // The rate is held to the size closely over the whole file: x264's default lets a
  // short file run several percent over, and a still part followed by a busy one
  // more than that unless the busy part's peaks are bounded (at twice the rate over
  // two seconds).
  if (pass == Pass::Output) {
    command.Add({"-x264-params", "ratetol=0.1"});
    command.Add("-maxrate").Add(std::to_string(int64_t{params.videoBitrate} * 2));
    command.Add("-bufsize").Add(std::to_string(int64_t{params.videoBitrate} * 4));
  }
  command.Add("-pass").Add(analysis ? "1" : "2").Add("-passlogfile").AddPath(kPassLog);
  if (analysis) return command.Add({"-f", "null", "-"});
  return command.AddPath(params.outputFile);
}

FFmpegCmdGenerator::OutputPlan FFmpegCmdGenerator::PlanOutput(const MediaInfo& input,
                                                              const std::string& quality,
                                                              const std::string& outputFormat,
                                                              bool keepAllTracks) {
  OutputPlan plan;
  plan.params = ParamsFor(input, "", "", quality, keepAllTracks);
  plan.params.tracks = TrackPlan::For(input, outputFormat, keepAllTracks);
  // The usual plan counts one audio track, even for an input without any.
  const int audioTracks =
      keepAllTracks ? static_cast<int>(plan.params.tracks.KeptOf(MediaTrack::Kind::Audio).size()) : 1;
  plan.estimatedBytes = EstimatedOutputSize(plan.params.videoBitrate, plan.params.audioBitrate,
                                            input.overallDuration.AsDouble(), audioTracks);
  return plan;
}

int64_t FFmpegCmdGenerator::EstimatedOutputSize(int videoBitrate, int audioBitrate, double seconds,
                                                int audioTracks) {
  const int64_t bitrate = int64_t{videoBitrate} + int64_t{audioBitrate} * audioTracks;
  // "nan", "inf" or a negative duration must not reach the integer conversion.
  if (!std::isfinite(seconds) || seconds <= 0 || bitrate <= 0) return 0;
  const double bytes = double(bitrate) * seconds * 0.125;
  if (bytes >= 9.0e18) return INT64_MAX;
  return static_cast<int64_t>(bytes);
}

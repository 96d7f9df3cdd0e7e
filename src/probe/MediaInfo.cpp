#include "probe/MediaInfo.h"

namespace {
const char* textOf(bool value) { return value ? "true" : "false"; }
}  // namespace

std::map<std::string, std::string> MediaInfo::ToMap() const {
  std::map<std::string, std::string> view = {
      {"MediaFileName", mediaFileName},
      {"IsMediaFile", textOf(isMediaFile)},
      {"HasVideo", textOf(hasVideo)},
      {"HasAudio", textOf(hasAudio)},
      {"OverallDuration", overallDuration.Text()},
      {"FileSize", fileSize.Text()},
      {"VideoCodec", videoCodec},
      {"VideoBitrate", videoBitrate.Text()},
      {"Width", width.Text()},
      {"Height", height.Text()},
      {"VideoFramerate", videoFramerate.Text()},
      {"VideoDuration", videoDuration.Text()},
      {"AudioCodec", audioCodec},
      {"AudioBitrate", audioBitrate.Text()},
      {"AudioChannel", audioChannel.Text()},
      {"AudioSampleRate", audioSampleRate.Text()},
      {"AudioDuration", audioDuration.Text()},
  };
  if (rotate) view["Rotate"] = rotate->Text();
  if (pixFmt) view["pix_fmt"] = *pixFmt;
  return view;
}

std::vector<MediaTrack> MediaInfo::TracksOf(MediaTrack::Kind kind) const {
  std::vector<MediaTrack> found;
  for (const MediaTrack& track : tracks) {
    if (track.kind == kind) found.push_back(track);
  }
  return found;
}

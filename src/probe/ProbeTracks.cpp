#include "probe/ProbeTracks.h"

#include <map>

#include "probe/ProbeLines.h"
#include "text/StringUtil.h"

namespace {

enum class Part { None, Main, Disposition, Tags };

// The stream and part a header line opens; Part::None for any other header.
Part headerPart(const std::string& line, int& stream) {
  const std::string number = probe_lines::streamOfHeader(line);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 6)
    return Part::None;
  stream = StringUtil::str_to_int(number);
  const std::string header = StringUtil::trim(line);
  const std::string prefix = "[streams.stream." + number;
  if (header == prefix + "]") return Part::Main;
  if (header == prefix + ".disposition]") return Part::Disposition;
  if (header == prefix + ".tags]") return Part::Tags;
  return Part::None;
}

MediaTrack::Kind kindOf(const std::string& type) {
  if (type == "video") return MediaTrack::Kind::Video;
  if (type == "audio") return MediaTrack::Kind::Audio;
  if (type == "subtitle") return MediaTrack::Kind::Subtitle;
  if (type == "data") return MediaTrack::Kind::Data;
  if (type == "attachment") return MediaTrack::Kind::Attachment;
  return MediaTrack::Kind::Other;
}

void readMain(MediaTrack& track, const std::string& key, const std::string& value) {
  if (key == "codec_name") {
    track.codec = value;
  } else if (key == "codec_type") {
    track.kind = kindOf(value);
  } else if (key == "channels") {
    track.channels = StringUtil::str_to_int(value);
  } else if (key == "width") {
    track.width = StringUtil::str_to_int(value);
  } else if (key == "height") {
    track.height = StringUtil::str_to_int(value);
  } else if (key == "duration") {
    const MediaFigure duration(value);
    if (duration.Known() && duration.AsDouble() > 0) track.duration = duration;
  }
}

void readDisposition(MediaTrack& track, const std::string& key, const std::string& value) {
  if (key == "default") track.isDefault = value == "1";
  if (key == "forced") track.forced = value == "1";
  if (key == "attached_pic") track.attachedPicture = value == "1";
}

void readTag(MediaTrack& track, const std::string& key, const std::string& value, double& tagSeconds) {
  if (key == "language") track.language = value;
  if (key == "title") track.title = value;
  // Matroska keeps a stream's length as a tag ("DURATION", or "DURATION-eng").
  double seconds = 0;
  if ((key == "DURATION" || StringUtil::starts_with(key, "DURATION-")) &&
      ProbeTracks::ClockSeconds(value, seconds))
    tagSeconds = seconds;
}

}  // namespace

std::vector<MediaTrack> ProbeTracks::Read(const std::vector<std::string>& lines) {
  std::map<int, MediaTrack> tracks;
  std::map<int, double> tagSeconds;
  Part part = Part::None;
  int stream = -1;
  for (const std::string& line : lines) {
    if (probe_lines::isSectionHeader(line) && StringUtil::trim(line).back() == ']') {
      part = headerPart(line, stream);
      if (part != Part::None) tracks[stream].index = stream;
      continue;
    }
    std::string key, value;
    if (part == Part::None || !probe_lines::splitEntry(line, key, value)) continue;
    MediaTrack& track = tracks[stream];
    if (part == Part::Main) readMain(track, key, value);
    if (part == Part::Disposition) readDisposition(track, key, value);
    if (part == Part::Tags) readTag(track, key, value, tagSeconds[stream]);
  }
  std::vector<MediaTrack> list;
  for (auto& entry : tracks) {
    MediaTrack& track = entry.second;
    const double fromTag = tagSeconds[entry.first];
    if (!track.duration.Known() && fromTag > 0) track.duration = MediaFigure::Decimal(fromTag);
    list.push_back(track);
  }
  return list;
}

bool ProbeTracks::ClockSeconds(const std::string& text, double& seconds) {
  const std::vector<std::string> parts = StringUtil::split(text, ':');
  if (parts.size() != 3 || text.find_first_not_of("0123456789:.") != std::string::npos) return false;
  seconds = StringUtil::str_to_double(parts[0]) * 3600 + StringUtil::str_to_double(parts[1]) * 60 +
            StringUtil::str_to_double(parts[2]);
  return true;
}

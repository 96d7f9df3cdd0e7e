#include "probe/FFprobeUtil.h"
#include "probe/ProbeLines.h"
#include "text/StringUtil.h"

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

#include "planning/ContainerOverhead.h"

#include <algorithm>
#include <cmath>

#include "text/StringUtil.h"

int64_t ContainerOverhead::Bytes(const std::string& extension, const Streams& streams) {
  std::string wanted = extension;
  StringUtil::to_lower(wanted);
  const double seconds = std::max(0.0, streams.seconds);
  const double videoFrames = seconds * std::max(0.0, streams.videoFrameRate);
  const double audioFrames = seconds * std::max(0.0, streams.audioSampleRate) / 1024 * streams.audioTracks;
  const double payload = static_cast<double>(std::max<int64_t>(0, streams.payloadBytes));
  const auto bytesOf = [&](const Model& model) {
    return model.file + model.stream * (1 + streams.audioTracks) + model.videoFrame * videoFrames +
           model.audioFrame * audioFrames + model.second * seconds + model.payloadShare * payload;
  };
  // A least-squares fit (rounded up) of 84 encodes of 8 and 30 seconds at 0.3, 1.5
  // and 4 Mbit/s with none, one and two AAC tracks.
  static const Model kModels[] = {
      // The index: sizes, times and offsets of every frame.
      {".mp4", 600, 330, 12, 17, 0, 0},
      // Block headers, clusters and cues.
      {".mkv", 440, 152, 7.2, 7.1, 0, 0.00004},
      // An 11-byte tag and a 4-byte back pointer per packet, a few bytes of codec header.
      {".flv", 184, 114, 20, 17.1, 0, 0},
      // The header reserves room for its stream lists; a chunk header and an index entry per packet.
      {".avi", 1522, 4242, 24.5, 24.5, 0, 0},
      TransportStream(),
  };
  double costliest = 0;
  for (const Model& model : kModels) {
    const double own = bytesOf(model);
    if (wanted == model.extension) return static_cast<int64_t>(std::ceil(own));
    costliest = std::max(costliest, own);
  }
  return static_cast<int64_t>(std::ceil(costliest));
}

#pragma once

#include <cstdint>
#include <string>

// What an output container adds to the streams it holds, in bytes: headers, each
// packet's framing, the index, and in MPEG-TS the tables it repeats and the padding
// of its fixed-size packets. Measured on the encoder's own muxers (MP4 with its
// index moved to the front, MKV, FLV, AVI, TS) over lengths, rates and audio tracks;
// the model is within a few kilobytes of what they wrote.
class ContainerOverhead {
 public:
  struct Streams {
    double seconds = 0;
    double videoFrameRate = 0;
    int audioTracks = 0;
    double audioSampleRate = 48000;  // each audio track's; AAC frames hold 1024 samples
    int64_t payloadBytes = 0;        // the streams' own bytes, for the containers that frame by size
  };

  // The overhead of an output with the extension (".mp4", ".MKV", ...); an unknown
  // container is taken as the costliest of the known ones.
  static int64_t Bytes(const std::string& extension, const Streams& streams);

  // Bytes per file, per stream, per video frame, per audio frame, per second, and a
  // share of the payload.
  struct Model {
    const char* extension;
    double file;
    double stream;
    double videoFrame;
    double audioFrame;
    double second;
    double payloadShare;
  };

 private:
  // MPEG-TS as the encoder shipped for this system writes it: the builds' muxers differ.
  static Model TransportStream();
};

#pragma once

#include <cstdint>
#include <string>

#include "planning/FFmpegParams.h"
#include "probe/MediaInfo.h"

// What an output size buys an input. The size drives the input's quality table as
// the quality knob does: the highest row whose video rate (capped by the input's,
// as the knob caps it) fits into the bits left gives the frame size and frame rate,
// and the video is encoded at the rate left, not the row's. The bits left are the
// size, aimed a little under it so the encoder's and the muxer's spread stays
// below, less the container's overhead, the kept subtitles and the audio: every
// kept audio track at the row's rate, stepped down to no less than 32 kbit/s only
// when the video would otherwise fall below the lowest row's rate.
struct SizePlan {
  enum class Verdict {
    Planned,   // the size is made at the rates below
    Fits,      // the size holds more than quality 99 % gives: planned at that
    TooSmall,  // not even the lowest row fits: smallestBytes is the least it can make
    Unknown,   // the input is refused, or its length is not known
  };

  // How far under the size the plan aims.
  static constexpr double kAim = 0.97;
  // The least audio rate a track is stepped down to.
  static constexpr int kLeastAudioBitrate = 32000;

  Verdict verdict = Verdict::Unknown;
  int64_t targetBytes = 0;
  // The row whose frame size and frame rate the output gets ("85").
  std::string quality;
  // The output's parameters: the row's frame, the rates computed for the size.
  FFmpegParams params;
  int audioTracks = 0;
  double seconds = 0;
  // The size the plan aims at (video, audio and the container's share).
  int64_t expectedBytes = 0;
  int64_t overheadBytes = 0;
  // TooSmall: the smallest size that can be planned, rounded up to 10 kB.
  int64_t smallestBytes = 0;

  bool Encodable() const { return verdict == Verdict::Planned || verdict == Verdict::Fits; }

  static SizePlan For(const MediaInfo& input, int64_t targetBytes, const std::string& extension,
                      bool keepAllTracks = false);

  // The video rate for a second encode, after the first made actualBytes of a
  // targetBytes size in seconds: lowered by the bits it was over, aimed again as
  // the plan aims. 0 when nothing sensible is left (under a quarter of the first
  // rate, or less than 16 kbit/s).
  static int RetryVideoBitrate(int videoBitrate, int64_t actualBytes, int64_t targetBytes, double seconds);
};

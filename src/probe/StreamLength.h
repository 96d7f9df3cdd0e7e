#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// How long the part of a media file that an output keeps lasts: the video and audio
// streams it keeps (by default the first video stream, an attached picture not
// being video, and the first audio stream), from the start of the earliest to the
// end of the latest. A container's own duration may be
// set by a stream the output drops (subtitles that run on, a data track), so it is
// taken only when the file holds nothing else; otherwise the streams' headers say,
// or the time stamps of their last packets, or (where no packet has a time) the
// video's packets counted at its frame rate. Tags, which anyone can write, and the
// encoder's console never count.
class StreamLength {
 public:
  // Seconds; -1 when nothing tells (no video, or the probe could not read it).
  // started is told the pid of each probe run, so a stop can end it at once.
  static double Measure(const std::string& file, const std::function<void(int64_t pid)>& started = {});
  // The same for the streams of these numbers (the probe's index): the video among
  // them and every audio; the default streams when none of them is video.
  static double Measure(const std::string& file, const std::vector<int>& keptStreams,
                        const std::function<void(int64_t pid)>& started = {});

  // --- The steps, on the probe's answers -------------------------------------------
  // Seconds; empty when the probe did not tell.
  struct Stream {
    int index = -1;
    std::string type;  // "video", "audio", "subtitle", ...
    bool attachedPicture = false;
    std::optional<double> start;
    std::optional<double> duration;  // from the stream's header
    double frameRate = -1;           // -1 unknown
  };
  struct Layout {
    std::vector<Stream> streams;
    std::optional<double> start;     // the container's
    std::optional<double> duration;  // the container's
    int streamCount = -1;            // as the container tells it; -1 unknown
    std::vector<int> keep;           // the streams an output keeps; empty: the default ones
  };
  // The INI report of the stream and format entries asked for by Measure.
  static Layout ReadLayout(const std::vector<std::string>& lines);
  // The streams an output keeps: the video, then the audio (when any); those of keep,
  // else the first video and the first audio.
  static std::vector<Stream> Kept(const Layout& layout);
  // The length from the headers alone; -1 when they do not tell.
  static double FromHeaders(const Layout& layout);
  // The length from packet lines "stream_index,pts_time,dts_time,duration_time"
  // (a read of the file's end, or of all of it); -1 when they do not tell for every
  // kept stream. whole: the lines cover the file from its start.
  static double FromPackets(const Layout& layout, const std::vector<std::string>& packets, bool whole);
};

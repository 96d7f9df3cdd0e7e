#include "probe/StreamLength.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "log/LogUtil.h"
#include "probe/FFprobeUtil.h"
#include "probe/ProbeLines.h"
#include "process/ProcessRunner.h"
#include "text/StringUtil.h"

namespace {

// A figure the probe printed; "N/A", garbage and non-finite values are none.
std::optional<double> figure(const std::string& text) {
  const char* begin = text.c_str();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto read = std::from_chars(begin, text.c_str() + text.size(), value);
  if (read.ec != std::errc() || read.ptr == begin || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> positive(const std::string& text) {
  const std::optional<double> value = figure(text);
  return value && *value > 0 ? value : std::nullopt;
}

std::vector<std::string> probe(const std::vector<std::string>& arguments, const std::string& file, int msecs,
                               const std::function<void(int64_t)>& started) {
  CommandLine command(FFprobeUtil::GetProbePath());
  for (const std::string& argument : arguments) command.Add(argument);
  command.Add("-i").AddPath(file);
  ProcessRunner runner(command);
  if (!runner.Start()) return {};
  if (started) started(runner.Pid());
  const QByteArray output = runner.RunToEnd(msecs);
  if (runner.HowItEnded() != ProcessRunner::Ending::Exited) return {};
  return ProcessRunner::Lines(output);
}

// Where the kept streams begin: their headers' earliest start, else the container's.
double keptBegin(const StreamLength::Layout& layout, const std::vector<StreamLength::Stream>& kept) {
  std::optional<double> begin;
  for (const StreamLength::Stream& stream : kept) {
    if (stream.start) begin = std::min(begin.value_or(*stream.start), *stream.start);
  }
  return begin.value_or(layout.start.value_or(0.0));
}

// The file's end: the last this many seconds are read first, then more.
const double kTailWindows[] = {30, 300};

}  // namespace

StreamLength::Layout StreamLength::ReadLayout(const std::vector<std::string>& lines) {
  Layout layout;
  enum class Section { Other, Stream, Disposition, Format } section = Section::Other;
  for (const std::string& raw : lines) {
    const std::string line = StringUtil::trim(raw);
    if (probe_lines::isSectionHeader(line)) {
      const std::string number = probe_lines::streamOfHeader(line);
      section = Section::Other;
      if (line == "[format]") {
        section = Section::Format;
      } else if (!number.empty() && line == "[streams.stream." + number + "]") {
        layout.streams.emplace_back();
        layout.streams.back().index = StringUtil::str_to_int(number);
        section = Section::Stream;
      } else if (!number.empty() && line == "[streams.stream." + number + ".disposition]" &&
                 !layout.streams.empty()) {
        section = Section::Disposition;
      }
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    if (section == Section::Format) {
      if (key == "start_time") layout.start = figure(value);
      if (key == "duration") layout.duration = positive(value);
      if (key == "nb_streams" && figure(value)) layout.streamCount = StringUtil::str_to_int(value);
    } else if (section == Section::Stream) {
      Stream& stream = layout.streams.back();
      if (key == "codec_type") stream.type = value;
      if (key == "start_time") stream.start = figure(value);
      if (key == "duration") stream.duration = positive(value);
      if (key == "r_frame_rate") {
        const double rate = FFprobeUtil::GetFrameRate(value);
        if (std::isfinite(rate) && rate > 0) stream.frameRate = rate;
      }
    } else if (section == Section::Disposition && probe_lines::isAttachedPicture(line)) {
      layout.streams.back().attachedPicture = true;
    }
  }
  return layout;
}

std::vector<StreamLength::Stream> StreamLength::Kept(const Layout& layout) {
  const auto named = [&layout](const Stream& stream) {
    return std::find(layout.keep.begin(), layout.keep.end(), stream.index) != layout.keep.end();
  };
  const Stream* video = nullptr;
  std::vector<Stream> audio;
  for (const Stream& stream : layout.streams) {
    if (video == nullptr && stream.type == "video" && !stream.attachedPicture && named(stream))
      video = &stream;
    if (stream.type == "audio" && named(stream)) audio.push_back(stream);
  }
  if (video == nullptr) {
    // None named (or not found): the first video and the first audio.
    audio.clear();
    for (const Stream& stream : layout.streams) {
      if (video == nullptr && stream.type == "video" && !stream.attachedPicture) video = &stream;
      if (audio.empty() && stream.type == "audio") audio.push_back(stream);
    }
  }
  std::vector<Stream> kept;
  // Without video nothing is transcoded at all.
  if (video == nullptr) return kept;
  kept.push_back(*video);
  kept.insert(kept.end(), audio.begin(), audio.end());
  return kept;
}

double StreamLength::FromHeaders(const Layout& layout) {
  const std::vector<Stream> kept = Kept(layout);
  if (kept.empty()) return -1;
  const int streams = layout.streamCount >= 0 ? layout.streamCount : static_cast<int>(layout.streams.size());
  if (streams == static_cast<int>(kept.size()) && layout.duration) return *layout.duration;
  std::optional<double> end;
  for (const Stream& stream : kept) {
    if (!stream.duration) return -1;
    const double streamEnd = stream.start.value_or(0.0) + *stream.duration;
    end = std::max(end.value_or(streamEnd), streamEnd);
  }
  const double length = *end - keptBegin(layout, kept);
  return length > 0 ? length : -1;
}

double StreamLength::FromPackets(const Layout& layout, const std::vector<std::string>& packets, bool whole) {
  const std::vector<Stream> kept = Kept(layout);
  if (kept.empty()) return -1;
  struct Seen {
    std::optional<double> first, end;
    long long count = 0;
  };
  std::map<int, Seen> seen;
  for (const Stream& stream : kept) seen[stream.index];
  for (const std::string& line : packets) {
    const std::vector<std::string> fields = StringUtil::split(line, ',');
    if (fields.size() < 4 || !figure(fields[0])) continue;
    const auto found = seen.find(StringUtil::str_to_int(fields[0]));
    if (found == seen.end()) continue;
    Seen& stream = found->second;
    ++stream.count;
    std::optional<double> time = figure(fields[1]);
    if (!time) time = figure(fields[2]);
    if (!time) continue;
    const double end = *time + figure(fields[3]).value_or(0.0);
    stream.first = std::min(stream.first.value_or(*time), *time);
    stream.end = std::max(stream.end.value_or(end), end);
  }
  std::optional<double> begin, end;
  for (const auto& entry : seen) {
    if (!entry.second.end) {
      end.reset();
      break;
    }
    begin = std::min(begin.value_or(*entry.second.first), *entry.second.first);
    end = std::max(end.value_or(*entry.second.end), *entry.second.end);
  }
  if (end) {
    // A read of the end never saw where the streams begin: their headers tell.
    const double length = *end - (whole ? *begin : keptBegin(layout, kept));
    if (length > 0) return length;
  }
  // Packets without any time (a raw stream): the video's frames at its rate.
  const Stream& video = kept.front();
  if (whole && video.frameRate > 0 && seen[video.index].count > 0)
    return static_cast<double>(seen[video.index].count) / video.frameRate;
  return -1;
}

double StreamLength::Measure(const std::string& file, const std::function<void(int64_t)>& started) {
  return Measure(file, std::vector<int>(), started);
}

double StreamLength::Measure(const std::string& file, const std::vector<int>& keptStreams,
                             const std::function<void(int64_t)>& started) {
  Layout layout = ReadLayout(probe({"-v", "quiet", "-print_format", "ini", "-show_entries",
                                    "stream=index,codec_type,start_time,duration,r_frame_rate:"
                                    "stream_disposition=attached_pic:format=start_time,duration,nb_streams"},
                                   file, 30000, started));
  layout.keep = keptStreams;
  const double fromHeaders = FromHeaders(layout);
  if (fromHeaders > 0 || Kept(layout).empty()) return fromHeaders;
  const std::vector<std::string> packets = {
      "-v",      "quiet",         "-print_format",
      "csv=p=0", "-show_entries", "packet=stream_index,pts_time,dts_time,duration_time"};
  if (layout.duration) {
    const double base = layout.start.value_or(0.0);
    for (double window : kTailWindows) {
      const double from = base + *layout.duration - window;
      if (from <= base) break;
      std::vector<std::string> arguments = packets;
      arguments.insert(arguments.end(), {"-read_intervals", StringUtil::double_to_str(from) + "%"});
      const double length = FromPackets(layout, probe(arguments, file, 30000, started), false);
      if (length > 0) return length;
    }
  }
  const double length = FromPackets(layout, probe(packets, file, 120000, started), true);
  if (length <= 0) log_info("StreamLength::Measure, the length cannot be told:" + file);
  return length;
}

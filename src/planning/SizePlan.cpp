#include "planning/SizePlan.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "planning/ContainerOverhead.h"
#include "planning/ContainerTracks.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/InputAcceptance.h"
#include "planning/QualityMapping.h"
#include "planning/TrackPlan.h"

namespace {

// The audio rates a track steps down through, highest first.
const int kAudioSteps[] = {192000, 160000, 128000, 96000, 64000, 48000, SizePlan::kLeastAudioBitrate};

// The AAC encoder writes up to 1 % over its rate, and a few frames of priming and
// padding beyond the input's end.
constexpr double kAudioSpread = 1.01;
constexpr double kAudioExtraSeconds = 0.07;

// Subtitles are copied or turned into text as they are: a generous rate for each
// kind (dialogue text is a few hundred bits a second, bitmaps tens of thousands).
constexpr double kTextSubtitleBitrate = 1000;
constexpr double kImageSubtitleBitrate = 40000;

// A size is offered in whole steps of this many bytes (0.01 MB).
constexpr int64_t kSizeStep = 10000;

int64_t audioBytes(int audioBitrate, int tracks, double seconds) {
  return static_cast<int64_t>(std::ceil(audioBitrate * kAudioSpread * (seconds + kAudioExtraSeconds) / 8)) *
         tracks;
}

int64_t subtitleBytes(const TrackPlan& tracks, double seconds) {
  double bits = 0;
  for (const TrackPlan::Stream& subtitle : tracks.KeptOf(MediaTrack::Kind::Subtitle)) {
    const bool image = ContainerTracks::KindOf(subtitle.track.codec) == ContainerTracks::SubtitleKind::Image;
    bits += (image ? kImageSubtitleBitrate : kTextSubtitleBitrate) * seconds;
  }
  return static_cast<int64_t>(std::ceil(bits / 8));
}

// The command encodes audio whenever the input has some: at least one track, even
// where the record lists no streams.
int audioTracksOf(const FFmpegParams& params) {
  if (!params.hasAudio) return 0;
  return std::max(1, static_cast<int>(params.tracks.KeptOf(MediaTrack::Kind::Audio).size()));
}

// One row's output at its own rates, and what is left of the size for its video.
struct RowFit {
  std::string quality;
  FFmpegParams params;
  int64_t overhead = 0;
  int64_t fixedBytes = 0;  // audio, subtitles and overhead
  double videoRoom = 0;    // bits per second left for the video
};

}  // namespace

namespace {

SizePlan planAt(const MediaInfo& input, int64_t targetBytes, const std::string& extension,
                bool keepAllTracks) {
  using Verdict = SizePlan::Verdict;
  SizePlan plan;
  plan.targetBytes = targetBytes;
  const double seconds = input.overallDuration.AsDouble();
  if (InputAcceptance::Judge(input) != InputAcceptance::Verdict::Accepted || !std::isfinite(seconds) ||
      seconds <= 0 || targetBytes <= 0)
    return plan;
  const std::string range = FFmpegCmdGenerator::GetResolutionRange(input.width.AsInt());
  std::vector<std::string> keys = QualityMapping::Instance().GetKeys(range);
  if (keys.empty()) return plan;
  std::reverse(keys.begin(), keys.end());  // highest first
  plan.seconds = seconds;

  const double aimed = static_cast<double>(targetBytes) * SizePlan::kAim;
  // The payload the container frames is about all of the aimed size, unless the
  // video's bytes are known (a size that holds more than the top row uses).
  const auto fitOf = [&](const std::string& quality, int audioBitrate, double videoBytes = -1) {
    RowFit fit;
    fit.quality = quality;
    fit.params = FFmpegCmdGenerator::ParamsFor(input, "", "", quality, keepAllTracks);
    fit.params.tracks = TrackPlan::For(input, extension, keepAllTracks);
    if (audioBitrate > 0) fit.params.audioBitrate = audioBitrate;
    const int tracks = audioTracksOf(fit.params);
    const int64_t audio = audioBytes(fit.params.audioBitrate, tracks, seconds);
    const int64_t subtitles = subtitleBytes(fit.params.tracks, seconds);
    ContainerOverhead::Streams streams;
    streams.seconds = seconds;
    streams.videoFrameRate = fit.params.videoFramerate;
    streams.audioTracks = tracks;
    if (input.audioSampleRate.AsDouble() > 0) streams.audioSampleRate = input.audioSampleRate.AsDouble();
    streams.payloadBytes = static_cast<int64_t>(videoBytes < 0 ? aimed : videoBytes + audio + subtitles);
    fit.overhead = ContainerOverhead::Bytes(extension, streams);
    fit.fixedBytes = audio + subtitles + fit.overhead;
    fit.videoRoom = (aimed - static_cast<double>(fit.fixedBytes)) * 8 / seconds;
    return fit;
  };
  const auto take = [&](const RowFit& fit, double videoBitrate, Verdict verdict) {
    plan.verdict = verdict;
    plan.quality = fit.quality;
    plan.params = fit.params;
    plan.params.videoBitrate = static_cast<int>(std::floor(videoBitrate));
    plan.audioTracks = audioTracksOf(fit.params);
    plan.overheadBytes = fit.overhead;
    plan.expectedBytes =
        fit.fixedBytes + static_cast<int64_t>(std::ceil(plan.params.videoBitrate * seconds / 8));
    return plan;
  };

  // More than the top row's rate buys nothing the tables would give: that is the
  // quality 99 % plan, however large the size.
  const RowFit top = fitOf(keys.front(), 0);
  const bool largerThanInput = input.fileSize.AsInt64() > 0 && targetBytes >= input.fileSize.AsInt64();
  if (top.videoRoom >= top.params.videoBitrate || (largerThanInput && top.videoRoom > 0)) {
    const double rate = std::min<double>(top.videoRoom, top.params.videoBitrate);
    return take(fitOf(keys.front(), 0, rate * seconds / 8), rate, Verdict::Fits);
  }
  for (const std::string& quality : keys) {
    const RowFit fit = fitOf(quality, 0);
    if (fit.videoRoom >= fit.params.videoBitrate) return take(fit, fit.videoRoom, Verdict::Planned);
  }
  // The lowest row: less audio before a refusal.
  const RowFit lowest = fitOf(keys.back(), 0);
  for (int step : kAudioSteps) {
    if (lowest.params.audioBitrate <= step || lowest.params.audioBitrate == 0) continue;
    const RowFit fit = fitOf(keys.back(), step);
    if (fit.videoRoom >= fit.params.videoBitrate) return take(fit, fit.videoRoom, Verdict::Planned);
  }
  // The least the lowest row can be made in, with the least audio.
  const bool lessAudio = lowest.params.hasAudio && lowest.params.audioBitrate > SizePlan::kLeastAudioBitrate;
  const RowFit least = fitOf(keys.back(), lessAudio ? SizePlan::kLeastAudioBitrate : 0);
  const double needed =
      (static_cast<double>(least.fixedBytes) + least.params.videoBitrate * seconds / 8) / SizePlan::kAim;
  plan.verdict = Verdict::TooSmall;
  plan.quality = least.quality;
  plan.params = least.params;
  plan.smallestBytes = (static_cast<int64_t>(std::ceil(needed)) + kSizeStep - 1) / kSizeStep * kSizeStep;
  return plan;
}

}  // namespace

SizePlan SizePlan::For(const MediaInfo& input, int64_t targetBytes, const std::string& extension,
                       bool keepAllTracks) {
  SizePlan plan = planAt(input, targetBytes, extension, keepAllTracks);
  // The overhead grows with the size a little: the smallest size offered must be
  // planned when it is asked for.
  for (int step = 0; plan.verdict == Verdict::TooSmall && step < 100; ++step) {
    if (planAt(input, plan.smallestBytes, extension, keepAllTracks).Encodable()) break;
    plan.smallestBytes += kSizeStep;
  }
  return plan;
}

int SizePlan::RetryVideoBitrate(int videoBitrate, int64_t actualBytes, int64_t targetBytes, double seconds) {
  if (videoBitrate <= 0 || !(seconds > 0)) return 0;
  const double over = static_cast<double>(actualBytes) - static_cast<double>(targetBytes) * kAim;
  const double lowered = videoBitrate - std::max(0.0, over) * 8 / seconds;
  if (lowered < videoBitrate / 4.0 || lowered < 16000) return 0;
  return static_cast<int>(std::floor(lowered));
}

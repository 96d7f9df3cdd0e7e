#include "planning/TrackPlan.h"

namespace {

using Kind = MediaTrack::Kind;
using Fate = TrackPlan::Fate;

// The encoder's own pick among streams of a kind when the command names none: the
// highest score, the first of equals. A default mark outweighs everything else;
// then video goes by frame area (a cover picture only when nothing else is there)
// and audio by channel count.
int usualPick(const std::vector<TrackPlan::Stream>& streams, Kind kind) {
  long long best = -1;
  int pick = -1;
  for (size_t i = 0; i < streams.size(); ++i) {
    const MediaTrack& track = streams[i].track;
    if (track.kind != kind) continue;
    long long score = track.isDefault ? 5000000 : 0;
    if (kind == Kind::Video) {
      score = track.attachedPicture ? 1 : score + static_cast<long long>(track.width) * track.height;
    } else {
      score += track.channels;
    }
    if (score > best) {
      best = score;
      pick = static_cast<int>(i);
    }
  }
  return pick;
}

// The probe names no codec for a stream the encoder cannot decode.
bool decodable(const MediaTrack& track) { return !track.codec.empty() && track.codec != "unknown"; }

int firstRealVideo(const std::vector<TrackPlan::Stream>& streams) {
  for (size_t i = 0; i < streams.size(); ++i) {
    if (streams[i].track.IsRealVideo()) return static_cast<int>(i);
  }
  return -1;
}

void planSubtitles(TrackPlan& plan, bool keepAllTracks) {
  bool unaskedTaken = false;
  for (TrackPlan::Stream& stream : plan.streams) {
    if (stream.track.kind != Kind::Subtitle) continue;
    const std::string& codec = stream.track.codec;
    if (keepAllTracks) {
      stream.encoding = plan.container.SubtitleEncoding(codec);
      stream.fate = stream.encoding.empty() ? Fate::NotInContainer : Fate::Kept;
      continue;
    }
    // Without names the encoder takes the first subtitle it can turn into the
    // container's text format, if the container has one.
    const bool convertible =
        ContainerTracks::KindOf(codec) != ContainerTracks::SubtitleKind::Image && decodable(stream.track);
    if (plan.container.KeepsOneTextSubtitleUnasked() && !unaskedTaken && convertible) {
      unaskedTaken = true;
      stream.fate = Fate::Kept;
    } else {
      stream.fate = plan.container.KeepsOneTextSubtitleUnasked() ? Fate::NotChosen : Fate::NotInContainer;
    }
  }
}

}  // namespace

TrackPlan TrackPlan::For(const MediaInfo& input, const std::string& outputExtension, bool keepAllTracks) {
  TrackPlan plan;
  plan.container = ContainerTracks::For(outputExtension);
  plan.everyTrack = keepAllTracks;
  for (const MediaTrack& track : input.tracks)
    plan.streams.push_back({track, Fate::NeverKept, std::string()});

  // Every track kept maps the video the output is planned from: the first that is
  // not a cover picture.
  const int video = keepAllTracks ? firstRealVideo(plan.streams) : usualPick(plan.streams, Kind::Video);
  if (video >= 0) plan.streams[video].fate = Fate::Kept;

  const int audio = usualPick(plan.streams, Kind::Audio);
  const int limit = plan.container.AudioLimit();
  for (size_t i = 0; i < plan.streams.size(); ++i) {
    Stream& stream = plan.streams[i];
    if (stream.track.kind != Kind::Audio) continue;
    if (static_cast<int>(i) == audio) {
      stream.fate = Fate::Kept;
    } else if (keepAllTracks && !decodable(stream.track)) {
      // Named, it would fail the whole encode.
      stream.fate = Fate::NeverKept;
    } else {
      stream.fate = !keepAllTracks ? Fate::NotChosen : limit == 1 ? Fate::ContainerLimit : Fate::Kept;
    }
  }
  planSubtitles(plan, keepAllTracks);
  return plan;
}

KeptStreams TrackPlan::Kept() const {
  KeptStreams kept;
  for (const Stream& stream : streams) {
    if (stream.fate != Fate::Kept) continue;
    if (stream.track.kind == Kind::Video) kept.video = stream.track.index;
    if (stream.track.kind == Kind::Audio) kept.audio.push_back(stream.track.index);
    if (stream.track.kind == Kind::Subtitle) kept.subtitles.push_back(stream.track.index);
  }
  return kept;
}

std::vector<TrackPlan::Stream> TrackPlan::KeptOf(MediaTrack::Kind kind) const {
  std::vector<Stream> kept;
  for (const Stream& stream : streams) {
    if (stream.fate == Fate::Kept && stream.track.kind == kind) kept.push_back(stream);
  }
  return kept;
}

bool TrackPlan::DropsSomething() const {
  for (const Stream& stream : streams) {
    if (stream.fate != Fate::Kept) return true;
  }
  return false;
}

#pragma once

#include <string>
#include <vector>

#include "planning/ContainerTracks.h"
#include "planning/KeptStreams.h"
#include "probe/MediaInfo.h"

// What becomes of each stream of an input in one output: kept (and how) or
// dropped (and why). The usual command keeps one video, one audio track and, in
// MKV, one text subtitle, chosen by the rule of the Linux encoder (a default mark
// first): it leaves the choice to an encoder that follows that rule and names the
// streams otherwise. Keeping every track names each stream the container can hold.
struct TrackPlan {
  enum class Fate {
    Kept,
    NotChosen,       // the usual command keeps only one of its kind
    ContainerLimit,  // the container holds no more of its kind (FLV: one audio track)
    NotInContainer,  // the container cannot hold this subtitle
    NeverKept,       // data, attachments, further video, cover pictures
  };
  struct Stream {
    MediaTrack track;
    Fate fate = Fate::NeverKept;
    // A kept subtitle's codec in the command ("copy", "mov_text", "ass").
    std::string encoding;
  };

  ContainerTracks container = ContainerTracks::For(".mp4");
  // The command maps every kept stream by its number.
  bool everyTrack = false;
  std::vector<Stream> streams;  // every input stream, in order

  static TrackPlan For(const MediaInfo& input, const std::string& outputExtension, bool keepAllTracks);

  KeptStreams Kept() const;
  // The kept streams of one kind, in order.
  std::vector<Stream> KeptOf(MediaTrack::Kind kind) const;
  // Some stream of the input is not in the output.
  bool DropsSomething() const;
};

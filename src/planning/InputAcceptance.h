#pragma once

#include <string>

#include "probe/MediaInfo.h"

// What the program agrees to transcode. The one set of rules behind every refusal:
// the add flows and kovadle-cli (with words for the user), the quality ladder and
// the encoder's parameters (which offer and plan nothing for a refused input).
class InputAcceptance {
 public:
  enum class Verdict { Accepted, NoStreams, AudioOnly, TooWide, TooNarrow };

  // The probed record alone, first rule first: no stream at all, no video (audio
  // only), wider than 4500, narrower than 480 (an unknown width counts as 0).
  static Verdict Judge(const MediaInfo& info);

  // The refusal for a probed input, as the untranslated message (without the "!"
  // the window appends; translate it in the "QObject" context), or "" when the
  // file is accepted. Before Judge's rules: not a regular file (a folder, a pipe, a
  // device) or a name that is not UTF-8, and two vendor formats by their extension.
  static std::string RefusalOf(const std::string& inputPath, const MediaInfo& info);
};

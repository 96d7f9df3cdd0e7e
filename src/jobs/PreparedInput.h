#pragma once

#include <string>
#include <vector>

#include "probe/MediaInfo.h"

// An input probed and judged by the engine's rules, the first step of adding a
// video: either refused with a reason or accepted with the qualities it offers.
struct PreparedInput {
  std::string path;
  MediaInfo info;
  // Nothing exists at the path.
  bool missing = false;
  // Why the input cannot be transcoded, untranslated (translate it in the "QObject"
  // context) and without the "!" the window appends; "" when accepted.
  std::string refusal;
  // The quality keys offered, highest first; empty when refused.
  std::vector<std::string> qualities;
  // The input's resolution class ("1080p"); "" when refused.
  std::string resolutionClass;

  bool Accepted() const { return refusal.empty(); }
};

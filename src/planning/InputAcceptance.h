#pragma once

#include <string>

#include "probe/MediaInfo.h"

// What the program agrees to transcode. Shared by every way a video is added, so
// the window and the command line refuse the same files with the same words.
class InputAcceptance {
 public:
  // The refusal for a probed input, as the untranslated message (without the "!"
  // the window appends; translate it in the "QObject" context), or "" when the
  // file is accepted. The first matching rule wins: not a regular file (a folder,
  // a pipe, a device) or a name that is not UTF-8, two vendor formats by their
  // extension, no streams at all, audio only, wider than 4500, narrower than 480.
  static std::string RefusalOf(const std::string& inputPath, const MediaInfo& info);
};

#pragma once

#include <QStringList>
#include <cstdint>
#include <string>

// `kovadle-cli info`: for each file the media-information record, then its
// resolution class and the qualities offered, or the window's refusal; with a
// size, what that size buys (SizePlan) for an output of the format.
class InfoCommand {
 public:
  struct SizeQuestion {
    int64_t bytes = 0;  // 0: none asked
    std::string format = ".mp4";
    bool allTracks = false;
  };

  // Text: "key: value" lines per file, files apart by a blank line. JSON: one
  // object per file and line. Returns the exit status: 1 when any file is refused
  // or missing, or the size cannot be made of it.
  static int Run(const QStringList& files, bool json, const SizeQuestion& size);
};

#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "probe/MediaInfo.h"

// Probes each file path once per process and hands out copies afterwards. A
// missing file, a folder, pipe, device or socket (links followed), or a name Qt
// could not decode, is never probed: it gets the record of a file that is not media
// at once.
class MediaInfoCache {
 public:
  static MediaInfoCache& GetInstance();
  MediaInfo GetMediaInfo(const std::string& path);
  // True when the path has been probed already, so GetMediaInfo returns at once.
  bool Contains(const std::string& path);
  // The record of a path probed already; none otherwise. Never probes, never logs.
  std::optional<MediaInfo> Cached(const std::string& path);
  // Drops the path's record: the next GetMediaInfo probes the file as it is now (a
  // file that was written since, such as a finished output).
  void Forget(const std::string& path);

 private:
  MediaInfoCache() = default;
  std::mutex lock_;
  std::map<std::string, MediaInfo> records_;
};

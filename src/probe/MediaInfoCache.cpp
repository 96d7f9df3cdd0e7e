#include "probe/MediaInfoCache.h"

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "probe/FFprobeUtil.h"

MediaInfoCache& MediaInfoCache::GetInstance() {
  static MediaInfoCache instance;
  return instance;
}

bool MediaInfoCache::Contains(const std::string& path) {
  std::lock_guard<std::mutex> guard(lock_);
  return records_.count(path) != 0;
}

std::optional<MediaInfo> MediaInfoCache::Cached(const std::string& path) {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = records_.find(path);
  if (found == records_.end()) return std::nullopt;
  return found->second;
}

void MediaInfoCache::Forget(const std::string& path) {
  std::lock_guard<std::mutex> guard(lock_);
  records_.erase(path);
}

MediaInfo MediaInfoCache::GetMediaInfo(const std::string& path) {
  {
    std::unique_lock<std::mutex> guard(lock_);
    const auto found = records_.find(path);
    if (found != records_.end()) {
      MediaInfo copy = found->second;
      guard.unlock();
      log_info("MediaInfo::GetMediaInfo,found cache,skip mediainfo.exe,file:" + path);
      return copy;
    }
  }
  MediaInfo info;
  const OSUtil::FileKind kind = OSUtil::getFileKind(path);
  if (kind == OSUtil::FileKind::Regular) {
    log_info("MediaInfo::GetMediaInfo,not found cache,launch mediainfo.exe,file:" + path);
    // Not under the lock: a probe may take up to a minute.
    info = FFprobeUtil::GetMediaInfo(path);
  } else {
    // A FIFO would hold the probe for its whole time-out, a device might never end,
    // a name Qt cannot decode names nothing, a missing file needs no probe to fail
    // (ten thousand names handed over must not cost ten thousand probes); none is a
    // video. The record is what a failed probe gives.
    log_info("MediaInfo::GetMediaInfo,not a regular file,skip mediainfo.exe,file:" + path);
    info = FFprobeUtil::ParseProbeOutput(path, {});
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    records_[path] = info;
  }
  return info;
}

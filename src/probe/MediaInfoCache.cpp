#include "probe/MediaInfoCache.h"

#include "Util/LogUtil.h"
#include "probe/FFprobeUtil.h"

MediaInfoCache& MediaInfoCache::GetInstance() {
  static MediaInfoCache instance;
  return instance;
}

bool MediaInfoCache::Contains(const std::string& path) {
  std::lock_guard<std::mutex> guard(lock_);
  return records_.count(path) != 0;
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
  log_info("MediaInfo::GetMediaInfo,not found cache,launch mediainfo.exe,file:" + path);
  // Not under the lock: a probe may take up to a minute.
  MediaInfo info = FFprobeUtil::GetMediaInfo(path);
  {
    std::lock_guard<std::mutex> guard(lock_);
    records_[path] = info;
  }
  return info;
}

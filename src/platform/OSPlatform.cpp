#include "platform/OSPlatform.h"

#include <algorithm>

namespace os_platform {

int loadPercent(const CpuTimes& before, const CpuTimes& after) {
  if (after.total <= before.total) return 0;
  const uint64_t total = after.total - before.total;
  // iowait may go backwards on some kernels: never count more idle than elapsed.
  const uint64_t idle = after.idle > before.idle ? std::min(after.idle - before.idle, total) : 0;
  const uint64_t busy = total - idle;
  return static_cast<int>((busy * 100 + total - 1) / total);
}

}  // namespace os_platform

#include <time.h>

#include "platform/AwakeClock.h"

int64_t AwakeClock::NowMs() {
  // On Linux CLOCK_MONOTONIC stands still during suspend (CLOCK_BOOTTIME would not).
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

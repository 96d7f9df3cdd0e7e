#include <windows.h>

#include "platform/AwakeClock.h"

int64_t AwakeClock::NowMs() {
  // The unbiased interrupt time leaves out sleep and hibernation, unlike the
  // performance counter. Units of 100 ns.
  ULONGLONG now = 0;
  QueryUnbiasedInterruptTime(&now);
  return static_cast<int64_t>(now / 10000);
}

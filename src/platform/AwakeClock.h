#pragma once

#include <cstdint>

// Milliseconds that pass only while the machine is awake: a suspended or
// hibernating machine encodes nothing, so time left is measured on this clock.
class AwakeClock {
 public:
  // From an arbitrary start; never goes back.
  static int64_t NowMs();
};

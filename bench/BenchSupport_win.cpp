#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include "BenchSupport.h"

long long resident_bytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long long>(counters.WorkingSetSize);
}

long long heap_in_use_bytes() { return -1; }

#include <malloc.h>
#include <unistd.h>

#include <fstream>

#include "BenchSupport.h"

long long resident_bytes() {
  std::ifstream statm("/proc/self/statm");
  long long size = 0, resident = 0;
  if (!(statm >> size >> resident)) return -1;
  return resident * sysconf(_SC_PAGESIZE);
}

long long heap_in_use_bytes() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
  return static_cast<long long>(mallinfo2().uordblks);
#else
  return -1;
#endif
}

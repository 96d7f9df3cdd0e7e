// Stands in for the encoder where a test needs its timing: one progress line after
// a short wait, then nothing until it is ended.
#include <chrono>
#include <cstdio>
#include <thread>

int main() {
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::fputs("frame=   24 fps=24 q=28.0 size=1kB time=00:00:01.00 bitrate=1.0kbits/s speed=1.0x\n", stderr);
  std::fflush(stderr);
  std::this_thread::sleep_for(std::chrono::seconds(120));
  return 0;
}

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "FifoWatch.h"

FifoWatch::FifoWatch(const std::string& path) : path_(path) {
  made_ = ::mkfifo(path.c_str(), 0600) == 0;
  if (!made_) return;
  thread_ = std::thread([this] {
    while (!stop_) {
      const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        // Only the FIFO itself tells of a reader: a file made at its name since does not.
        struct stat seen {};
        if (::fstat(fd, &seen) == 0 && S_ISFIFO(seen.st_mode)) blocked_ = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
}

FifoWatch::~FifoWatch() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

#include <algorithm>
#include <iostream>
#include <mutex>
#include <set>

#include "platform/OSPlatform.h"
#include "platform/OSUtil.h"

namespace {

// The children our runners started and have not yet seen end. Only these may be killed.
struct ChildRegistry {
  std::mutex lock;
  std::set<int64_t> pids;
};

ChildRegistry& children() {
  static ChildRegistry registry;
  return registry;
}

struct ShutdownSlot {
  std::mutex lock;
  std::function<void()> action;
};

ShutdownSlot& shutdownSlot() {
  static ShutdownSlot slot;
  return slot;
}

}  // namespace

void OSUtil::registerChildProcess(int64_t pid) {
  if (pid <= 0) return;
  std::lock_guard<std::mutex> guard(children().lock);
  children().pids.insert(pid);
}

void OSUtil::unregisterChildProcess(int64_t pid) {
  std::lock_guard<std::mutex> guard(children().lock);
  children().pids.erase(pid);
}

void OSUtil::killProcess(int64_t pid) {
  std::lock_guard<std::mutex> guard(children().lock);
  if (pid <= 0 || children().pids.count(pid) == 0) {
    std::cout << "Error,OSUtil::killProcess,pid:" << pid << " is not a running child, not killed."
              << std::endl;
    return;
  }
  // Under the lock, so a runner cannot unregister (and the pid be reused) meanwhile.
  os_platform::killChild(pid);
}

void OSUtil::ShutdownMachineNow() {
  std::cout << "OSUtil::ShutdownMachineNow, shutdown machien now!" << std::endl;
  std::function<void()> action;
  {
    std::lock_guard<std::mutex> guard(shutdownSlot().lock);
    action = shutdownSlot().action;
  }
  if (action) {
    action();
  } else {
    os_platform::shutdownMachine();
  }
}

void OSUtil::setShutdownAction(std::function<void()> action) {
  std::lock_guard<std::mutex> guard(shutdownSlot().lock);
  shutdownSlot().action = std::move(action);
}

int OSUtil::getCpuUsage(int ms) {
  const CpuReading before = readCpuCounters();
  sleepMs(ms);
  return getCpuUsageBetween(before, readCpuCounters());
}

OSUtil::CpuReading OSUtil::readCpuCounters() {
  os_platform::CpuTimes times;
  CpuReading reading;
  reading.valid = os_platform::readCpuTimes(times);
  reading.idle = times.idle;
  reading.total = times.total;
  return reading;
}

int OSUtil::getCpuUsageBetween(const CpuReading& before, const CpuReading& after) {
  if (!before.valid || !after.valid) return 0;
  os_platform::CpuTimes first;
  first.idle = before.idle;
  first.total = before.total;
  os_platform::CpuTimes second;
  second.idle = after.idle;
  second.total = after.total;
  return os_platform::loadPercent(first, second);
}

void OSUtil::openInExplorer(const std::string& folder) { os_platform::openFolder(folder); }

std::string OSUtil::getDefaultOutputDir() {
  // A fixed folder name: stored job files and settings refer to it by path.
  const std::string dir = pathJoin(os_platform::defaultOutputBase(), "Kovadle_Output");
  if (!isFileExist(dir)) mkpath(dir);
  return dir;
}

std::string OSUtil::executableSuffix() { return os_platform::executableSuffix(); }

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

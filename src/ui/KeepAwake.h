#pragma once

#include <memory>

// Keeps the machine and its display from sleeping while this object lives. The
// window holds one only while a job executes or waits.
class KeepAwake {
 public:
  KeepAwake();
  ~KeepAwake();
  KeepAwake(const KeepAwake&) = delete;
  KeepAwake& operator=(const KeepAwake&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

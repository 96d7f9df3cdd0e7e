#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// POSIX signals into the Qt event loop (no Windows side: its console events are not
// signals). The handler only notes the first signal that came and writes a byte to
// a pipe; the pipe's reading end wakes the loop, where the given function runs. Each
// signal is taken by one SignalPipe at a time; the earlier handling comes back when
// it goes.
class SignalPipe {
 public:
  SignalPipe(const std::vector<int>& signalNumbers, QObject* context, std::function<void()> onArrival);
  ~SignalPipe();
  SignalPipe(const SignalPipe&) = delete;
  SignalPipe& operator=(const SignalPipe&) = delete;

  // False when no pipe could be made: the signals keep their handling.
  bool Installed() const;
  // The first of the signals that came, 0 while none; noted before the loop sees it.
  int First() const { return first_; }

 private:
  struct Platform;
  std::unique_ptr<Platform> platform_;
  std::atomic<int> first_{0};
};

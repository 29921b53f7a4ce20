// A request to stop a long run, made on one thread (the window's) and seen on
// the threads doing the work, which look at it between their steps.
#pragma once

#include <atomic>

namespace tovo {

class StopSignal {
 public:
  void Request() { requested_.store(true, std::memory_order_relaxed); }
  bool Requested() const { return requested_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
};

}  // namespace tovo

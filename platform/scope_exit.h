// Runs a function when the scope ends, on every way out.
#pragma once

#include <utility>

namespace tovo {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() {
    if (active_) f_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  void release() { active_ = false; }

 private:
  F f_;
  bool active_ = true;
};

template <typename F>
[[nodiscard]] ScopeExit<F> OnScopeExit(F f) {
  return ScopeExit<F>(std::move(f));
}

}  // namespace tovo

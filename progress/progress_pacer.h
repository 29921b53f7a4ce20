// How often a busy command refreshes what the user sees. Nobody reads a
// thousand names a second, and each synchronous paint costs more than
// shredding a small file, so the newest text is painted at most once per
// interval; a text that had to wait is painted at the next tick or at the end.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tovo {

using PaceClock = std::function<std::chrono::steady_clock::time_point()>;

// True at most once per interval; the first call is always due.
class IntervalGate {
 public:
  explicit IntervalGate(std::chrono::milliseconds interval) : interval_(interval) {}
  bool Due(std::chrono::steady_clock::time_point now);

 private:
  std::chrono::milliseconds interval_;
  std::optional<std::chrono::steady_clock::time_point> last_;
};

class ProgressPacer {
 public:
  using Paint = std::function<void(const std::string& text)>;

  ProgressPacer(Paint paint, std::chrono::milliseconds interval, PaceClock clock);

  // The newest text: painted now when the last paint is an interval old or
  // `now` says so, else kept for later.
  void Offer(std::string text, bool now = false);
  // A kept text is painted when it is due (call this while waiting).
  void Tick();
  // A kept text is painted now (the command ends).
  void Flush();

 private:
  Paint paint_;
  IntervalGate gate_;
  PaceClock clock_;
  std::optional<std::string> waiting_;
};

}  // namespace tovo

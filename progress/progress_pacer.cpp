#include "progress/progress_pacer.h"

#include <utility>

namespace tovo {

bool IntervalGate::Due(std::chrono::steady_clock::time_point now) {
  if (last_ && now - *last_ < interval_) return false;
  last_ = now;
  return true;
}

ProgressPacer::ProgressPacer(Paint paint, std::chrono::milliseconds interval, PaceClock clock)
    : paint_(std::move(paint)), gate_(interval), clock_(std::move(clock)) {}

void ProgressPacer::Offer(std::string text, bool now) {
  waiting_ = std::move(text);
  if (gate_.Due(clock_()) || now) Flush();
}

void ProgressPacer::Tick() {
  if (waiting_ && gate_.Due(clock_())) Flush();
}

void ProgressPacer::Flush() {
  if (!waiting_) return;
  const std::string text = std::move(*waiting_);
  waiting_.reset();
  paint_(text);
}

}  // namespace tovo

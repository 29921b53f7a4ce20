#include "progress/time_left.h"

#include <cmath>
#include <cstdio>

namespace tovo {

double WorkShare(const ProgressSnapshot& progress) {
  if (progress.counting) return 0;
  const long double total = static_cast<long double>(progress.bytesTotal) +
                            static_cast<long double>(progress.filesTotal) * kFileCostBytes;
  if (total <= 0) return 0;
  const long double done = static_cast<long double>(progress.bytesDone) +
                           static_cast<long double>(progress.filesDone) * kFileCostBytes;
  const long double share = done / total;
  return share >= 1 ? 1.0 : static_cast<double>(share);
}

void TimeLeft::Start(RunClock::time_point now) {
  if (!start_) start_ = now;
}

std::optional<std::chrono::seconds> TimeLeft::Estimate(RunClock::time_point now,
                                                       double share) const {
  if (!start_ || share <= 0) return std::nullopt;
  const std::chrono::duration<double> elapsed = now - *start_;
  if (elapsed < kFirstEstimateAfter) return std::nullopt;
  if (share >= 1) return std::chrono::seconds(0);
  const double left = std::ceil(elapsed.count() * (1 - share) / share);
  return std::chrono::seconds(static_cast<std::chrono::seconds::rep>(left));
}

std::string DurationText(std::chrono::seconds left) {
  const long long total = left.count() < 0 ? 0 : static_cast<long long>(left.count());
  char text[64];
  if (total < 60) {
    std::snprintf(text, sizeof text, "约 %lld 秒", total);
  } else if (total < 3600) {
    std::snprintf(text, sizeof text, "约 %lld 分 %02lld 秒", total / 60, total % 60);
  } else {
    const long long minutes = (total + 59) / 60;
    std::snprintf(text, sizeof text, "约 %lld 小时 %02lld 分", minutes / 60, minutes % 60);
  }
  return text;
}

}  // namespace tovo

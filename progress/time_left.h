// The estimate of the time a long run still needs, from how far it is and how
// long it has taken so far. Portable: the caller gives the time points.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "shred/run_progress.h"

namespace tovo {

using RunClock = std::chrono::steady_clock;

// No estimate is shown before the work has run this long: the first moments
// (a cold disk, the first large write) say little about the rest.
inline constexpr std::chrono::seconds kFirstEstimateAfter{2};

// Each file costs about as much as writing this many bytes (its open, flush,
// renames and delete), so that a run of many small files is not estimated
// from its few bytes alone.
inline constexpr std::uint64_t kFileCostBytes = 64 * 1024;

// The share of the work done, 0 to 1: the bytes written plus kFileCostBytes
// for each file ended, of the same over the totals. 0 while counting or when
// there is nothing to do.
double WorkShare(const ProgressSnapshot& progress);

class TimeLeft {
 public:
  // The work itself begins (the counting is over); later calls change nothing.
  void Start(RunClock::time_point now);
  bool Started() const { return start_.has_value(); }

  // The time still needed at `now` when `share` of the work is done: the time
  // taken so far times what is left over what is done, rounded up to whole
  // seconds (0 once everything is). Nothing before Start, before
  // kFirstEstimateAfter, or while nothing is done yet.
  std::optional<std::chrono::seconds> Estimate(RunClock::time_point now, double share) const;

 private:
  std::optional<RunClock::time_point> start_;
};

// "约 45 秒", "约 3 分 05 秒", "约 2 小时 07 分" (minutes rounded up once the
// hours are shown).
std::string DurationText(std::chrono::seconds left);

}  // namespace tovo

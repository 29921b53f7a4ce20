#include "widgets/reread_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace tovo {
namespace {

// A folder watch and its timer, run on explicit ticks: changes arrive at
// given times, the timer fires when its delay has passed.
class Simulation {
 public:
  void ChangeAt(std::uint64_t now) {
    RunTimerUntil(now);
    if (const auto delay = schedule_.Changed(now)) timer_ = now + *delay;
  }
  void RunTimerUntil(std::uint64_t now) {
    if (!timer_ || *timer_ > now) return;
    if (schedule_.Due(*timer_)) ++reads_;
    timer_.reset();
  }
  RereadSchedule& schedule() { return schedule_; }
  int reads() const { return reads_; }

 private:
  RereadSchedule schedule_;
  std::optional<std::uint64_t> timer_;
  int reads_ = 0;
};

TEST(RereadSchedule, ALoneChangeIsReadAtOnceAndALaterOneAfterTheInterval) {
  RereadSchedule schedule(300);
  EXPECT_EQ(schedule.Changed(1000), 0u);
  EXPECT_EQ(schedule.Changed(1001), std::nullopt) << "covered by the waiting re-read";
  EXPECT_TRUE(schedule.Due(1000));
  EXPECT_FALSE(schedule.Due(1005)) << "nothing waits any more";
  EXPECT_EQ(schedule.Changed(1100), 200u);
  EXPECT_TRUE(schedule.Due(1300));
  EXPECT_EQ(schedule.Changed(5000), 0u);
}

TEST(RereadSchedule, AReadForAnotherReasonCoversTheWaitingChanges) {
  RereadSchedule schedule(300);
  ASSERT_EQ(schedule.Changed(0), 0u);
  schedule.Read(10);  // navigation, or the shred command's own re-read
  EXPECT_FALSE(schedule.Due(10));
  EXPECT_EQ(schedule.Changed(20), 290u);
}

TEST(RereadSchedule, ABurstOfAThousandChangesCostsAHandfulOfReads) {
  Simulation run;
  for (std::uint64_t t = 0; t < 1000; ++t) run.ChangeAt(t);  // one per millisecond
  run.RunTimerUntil(10000);
  // At 0, 300, 600, 900 and once more for the changes after 900.
  EXPECT_EQ(run.reads(), 5);
  EXPECT_FALSE(run.schedule().Waiting());
}

}  // namespace
}  // namespace tovo

#include "widgets/reread_schedule.h"

namespace tovo {

std::optional<std::uint64_t> RereadSchedule::Changed(std::uint64_t now) {
  if (waiting_) return std::nullopt;
  waiting_ = true;
  if (!lastRead_ || now >= *lastRead_ + interval_) return 0;
  return *lastRead_ + interval_ - now;
}

bool RereadSchedule::Due(std::uint64_t now) {
  if (!waiting_) return false;
  Read(now);
  return true;
}

void RereadSchedule::Read(std::uint64_t now) {
  waiting_ = false;
  lastRead_ = now;
}

}  // namespace tovo

// When a watched folder is read again after the disk changed under it: a
// lone change is read at once, a burst at most once per interval, so a
// program writing a thousand files costs a handful of listings, not a
// thousand. Times are milliseconds from any fixed origin, given by the
// caller, so the rule is tested without a clock.
#pragma once

#include <cstdint>
#include <optional>

namespace tovo {

class RereadSchedule {
 public:
  static constexpr std::uint64_t kDefaultIntervalMs = 300;

  explicit RereadSchedule(std::uint64_t intervalMs = kDefaultIntervalMs) : interval_(intervalMs) {}

  // A change was reported at `now`. Returns the delay after which the
  // caller's timer is to call Due, or nullopt when a re-read is already
  // waiting (the change is covered by it).
  std::optional<std::uint64_t> Changed(std::uint64_t now);

  // The timer ran out at `now`: true when the folder is to be read now.
  bool Due(std::uint64_t now);

  // The folder was read at `now` for any reason (navigation, a command's own
  // re-read): the changes seen so far are covered.
  void Read(std::uint64_t now);

  bool Waiting() const { return waiting_; }

 private:
  std::uint64_t interval_;
  std::optional<std::uint64_t> lastRead_;
  bool waiting_ = false;
};

}  // namespace tovo

// How far a long run is, fed by the threads doing the work and read by the
// window thread on its own timer, so that neither waits for the other.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace tovo {

struct ProgressSnapshot {
  bool counting = true;  // the totals are still being found
  std::uint64_t filesDone = 0, filesTotal = 0;
  std::uint64_t bytesDone = 0, bytesTotal = 0;
  std::string current;         // what is being worked on, for the name line
  std::uint64_t revision = 0;  // changes whenever `current` does
};

class RunProgress {
 public:
  // While counting: the files and bytes found so far.
  void Found(std::uint64_t files, std::uint64_t bytes);
  // Counting is over; these are the totals the run works through.
  void Counted(std::uint64_t files, std::uint64_t bytes);
  void SetCurrent(std::string text);
  void AddBytes(std::uint64_t bytes) { bytesDone_.fetch_add(bytes, std::memory_order_relaxed); }
  // A file has reached its end, destroyed or not.
  void FileEnded() { filesDone_.fetch_add(1, std::memory_order_relaxed); }
  ProgressSnapshot Snapshot() const;

 private:
  std::atomic<bool> counting_{true};
  std::atomic<std::uint64_t> filesDone_{0}, filesTotal_{0}, bytesDone_{0}, bytesTotal_{0};
  mutable std::mutex currentMutex_;
  std::string current_;
  std::uint64_t revision_ = 0;
};

}  // namespace tovo

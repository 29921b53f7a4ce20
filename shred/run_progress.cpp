#include "shred/run_progress.h"

#include <utility>

namespace tovo {

void RunProgress::Found(std::uint64_t files, std::uint64_t bytes) {
  filesTotal_.store(files, std::memory_order_relaxed);
  bytesTotal_.store(bytes, std::memory_order_relaxed);
}

void RunProgress::Counted(std::uint64_t files, std::uint64_t bytes) {
  Found(files, bytes);
  counting_.store(false, std::memory_order_release);
}

void RunProgress::SetCurrent(std::string text) {
  std::lock_guard<std::mutex> lock(currentMutex_);
  current_ = std::move(text);
  ++revision_;
}

ProgressSnapshot RunProgress::Snapshot() const {
  ProgressSnapshot s;
  s.counting = counting_.load(std::memory_order_acquire);
  s.filesDone = filesDone_.load(std::memory_order_relaxed);
  s.filesTotal = filesTotal_.load(std::memory_order_relaxed);
  s.bytesDone = bytesDone_.load(std::memory_order_relaxed);
  s.bytesTotal = bytesTotal_.load(std::memory_order_relaxed);
  std::lock_guard<std::mutex> lock(currentMutex_);
  s.current = current_;
  s.revision = revision_;
  return s;
}

}  // namespace tovo

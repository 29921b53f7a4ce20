#include "shred/shred_pipeline.h"

#include <algorithm>
#include <optional>

namespace tovo {

ShredPipeline::ShredPipeline(FileSystem& fs, RandomGenerator& generator,
                             const ShredOptions& options, PipelineOptions pipeline)
    : fs_(fs), generator_(generator), options_(options), pipeline_(std::move(pipeline)) {
  workers_.reserve(pipeline_.workers);
  try {
    for (unsigned i = 0; i < pipeline_.workers; ++i) workers_.emplace_back([this, i] { Work(i); });
  } catch (...) {
    Stop();  // the threads already started must not outlive a failed construction
    throw;
  }
}

ShredPipeline::~ShredPipeline() {
  Stop();
}

void ShredPipeline::Stop() {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    // No window calls here: this may run while an error unwinds.
    jobDone_.wait(lock, [this] { return queue_.empty() && busy_ == 0; });
    stopping_ = true;
  }
  jobReady_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void ShredPipeline::ShredFile(const std::string& path) {
  if (Stopped()) return;
  std::uint32_t attributes = 0;
  if (const SystemCode code = fs_.ReadAttributes(path, attributes)) {
    RecordFile(ShredOutcome{path, ShredStep::kNotFound, code});
    return;
  }
  ShredFile(path, attributes);
}

void ShredPipeline::ShredFile(const std::string& path, std::uint32_t attributes) {
  if (Stopped()) return;
  const std::uint64_t order = next_++;
  ShredOutcome outcome{path};
  std::optional<OpenedFile> opened = OpenForShredding(fs_, generator_, path, attributes, outcome);
  if (!opened) {
    std::lock_guard<std::mutex> lock(mutex_);
    Keep(order, std::move(outcome), true);
    return;
  }
  if (workers_.empty()) {
    ShredOutcome finished = ShredOpened(fs_, std::move(*opened), options_);
    std::lock_guard<std::mutex> lock(mutex_);
    Keep(order, std::move(finished), true);
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  WaitFor(lock, spaceFree_, [this] { return queue_.size() < pipeline_.queueLength; });
  queue_.push_back(Job{order, std::move(*opened)});
  lock.unlock();
  jobReady_.notify_one();
}

void ShredPipeline::Record(ShredOutcome outcome) {
  const std::uint64_t order = next_++;
  std::lock_guard<std::mutex> lock(mutex_);
  Keep(order, std::move(outcome), false);
}

void ShredPipeline::RecordFile(ShredOutcome outcome) {
  const std::uint64_t order = next_++;
  std::lock_guard<std::mutex> lock(mutex_);
  Keep(order, std::move(outcome), true);
}

std::uint64_t ShredPipeline::Destroyed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return destroyed_;
}

std::uint64_t ShredPipeline::Ended() {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

void ShredPipeline::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  WaitFor(lock, jobDone_, [this] { return queue_.empty() && busy_ == 0; });
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

bool ShredPipeline::Idle() {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.empty() && busy_ == 0;
}

std::vector<ShredOutcome> ShredPipeline::TakeFailures() {
  Wait();
  std::lock_guard<std::mutex> lock(mutex_);
  // Workers finish in any order; the report keeps the order of the paths.
  std::stable_sort(failures_.begin(), failures_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ShredOutcome> failures;
  failures.reserve(failures_.size());
  for (auto& [order, outcome] : failures_) failures.push_back(std::move(outcome));
  failures_.clear();
  return failures;
}

void ShredPipeline::Work(unsigned index) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    jobReady_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Job job = std::move(queue_.front());
    queue_.pop_front();
    ++busy_;
    lock.unlock();
    spaceFree_.notify_one();
    std::optional<ShredOutcome> outcome;
    std::exception_ptr error;
    job.file.firstNeutralName = static_cast<int>(index);
    try {
      outcome = ShredOpened(fs_, std::move(job.file), options_);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    if (outcome) Keep(job.order, std::move(*outcome), true);
    if (error && !error_) error_ = error;
    --busy_;
    if (queue_.empty() && busy_ == 0) jobDone_.notify_all();
  }
}

void ShredPipeline::Keep(std::uint64_t order, ShredOutcome outcome, bool file) {
  if (outcome.step == ShredStep::kUntouched) return;
  if (file) {
    ++ended_;
    if (outcome.destroyed()) ++destroyed_;
    if (options_.progress) options_.progress->FileEnded();
  }
  if (!outcome.destroyed()) failures_.emplace_back(order, std::move(outcome));
}

template <typename Done>
void ShredPipeline::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& signal,
                            Done done) {
  while (!done()) {
    if (signal.wait_for(lock, pipeline_.tick, done)) return;
    if (!pipeline_.whileWaiting) continue;
    lock.unlock();
    pipeline_.whileWaiting();
    lock.lock();
  }
}

}  // namespace tovo

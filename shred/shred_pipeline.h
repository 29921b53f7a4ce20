// Overlapped shredding. Almost all of a small file's time is the wait for its
// flush, and a disk completes several flushes at once far faster than one
// after another. The caller's thread keeps everything whose order matters
// (attributes, the exclusive open, the generator's draws, the progress text);
// the rest of each file's work goes to a few workers through a bounded queue,
// so memory stays flat for any number of files. The workers overlap the
// overwrites, flushes and ends (neutral name, delete) in any order: the disk
// and the report are those of the sequential engine, except that a file left
// behind after its rename may carry another neutral name, which the report
// gives as it is.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "shred/file_shredder.h"
#include "shred/file_system.h"
#include "shred/random_generator.h"
#include "shred/shred_outcome.h"

namespace tovo {

struct PipelineOptions {
  // Threads that finish opened files; 0 finishes each one on the caller's
  // thread before the next is opened (the sequential engine).
  unsigned workers = 4;
  // Opened files waiting for a worker, at most; each holds a handle.
  std::size_t queueLength = 16;
  // Called on the caller's thread about every `tick` while it waits for a
  // worker, so that a window can be kept alive through a long file.
  std::function<void()> whileWaiting;
  std::chrono::milliseconds tick{50};
};

// The sequential engine's options: everything on the caller's thread.
inline PipelineOptions Sequential() {
  PipelineOptions options;
  options.workers = 0;
  return options;
}

// One run of the engine. The file system's calls made after the open
// (OpenFile's, RemoveFile, WriteAttributes) must be safe from several threads;
// everything else is called on the caller's thread only.
class ShredPipeline {
 public:
  ShredPipeline(FileSystem& fs, RandomGenerator& generator, const ShredOptions& options = {},
                PipelineOptions pipeline = {});
  // Finishes every file already opened, so every handle is closed also when
  // the run ends early on an error.
  ~ShredPipeline();
  ShredPipeline(const ShredPipeline&) = delete;
  ShredPipeline& operator=(const ShredPipeline&) = delete;

  FileSystem& fs() { return fs_; }
  const ShredOptions& options() const { return options_; }

  // Destroys one file as ShredFileWith does, in two halves: reads its
  // attributes (unless given, just read), opens it and takes its draws here,
  // then hands it on; blocks while the queue is full.
  void ShredFile(const std::string& path);
  void ShredFile(const std::string& path, std::uint32_t attributes);

  // An outcome decided on the caller's thread takes its place in the order:
  // a folder's, or (RecordFile) a file's that ended before it was opened.
  void Record(ShredOutcome outcome);
  void RecordFile(ShredOutcome outcome);

  // Returns once every file handed on so far is finished (before a folder
  // is removed, for example). Rethrows a worker's exception.
  void Wait();

  // True when no file handed on is still being worked on.
  bool Idle();

  // Waits, then gives the outcomes of everything not destroyed, in the
  // order the paths were handed in, and forgets them. Files closed untouched
  // after a stop are not among them.
  std::vector<ShredOutcome> TakeFailures();

  // The run was asked to stop: no file is opened any more.
  bool Stopped() const { return options_.stop && options_.stop->Requested(); }

  // Files so far destroyed, and ended either way (untouched ones excluded).
  std::uint64_t Destroyed();
  std::uint64_t Ended();

 private:
  struct Job {
    std::uint64_t order;  // among all outcomes, for the report
    OpenedFile file;
  };

  // Worker `index` starts its renames at its own neutral name.
  void Work(unsigned index);
  // Finishes what is queued, then ends and joins the workers.
  void Stop();
  // A file's outcome (`file`) or a folder's; lock held.
  void Keep(std::uint64_t order, ShredOutcome outcome, bool file);
  // Waits on `signal` until `done`, calling whileWaiting each tick; lock held.
  template <typename Done>
  void WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, Done done);

  FileSystem& fs_;
  RandomGenerator& generator_;
  const ShredOptions options_;
  const PipelineOptions pipeline_;
  std::uint64_t next_ = 0;  // the order of the next path handed in

  std::mutex mutex_;
  std::condition_variable jobReady_, spaceFree_, jobDone_;
  std::deque<Job> queue_;
  std::size_t busy_ = 0;  // jobs taken by workers, not yet finished
  bool stopping_ = false;
  std::uint64_t destroyed_ = 0, ended_ = 0;
  std::vector<std::pair<std::uint64_t, ShredOutcome>> failures_;
  std::exception_ptr error_;  // the first exception a worker met
  std::vector<std::thread> workers_;
};

}  // namespace tovo

// The start-up clean-up of fill folders that a killed free-space wipe left
// at the roots of the fixed drives (power loss, the process ended from
// outside): each is removed with everything in it on a worker, and a wipe
// that starts meanwhile waits for its own drive's.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "app/wipe_command.h"
#include "shred/stop_signal.h"

namespace tovo {

class FillCleanup {
 public:
  // Starts the worker; `window` is told by kFillCleanupEnded when it ends.
  // The worker keeps its own reference, should the window go first.
  static std::shared_ptr<FillCleanup> Start(HWND window);

  // Waits until the drive whose root is `root` ("E:\\") has been cleaned up. False
  // when `stop` was requested first. Any thread but the window's.
  bool WaitFor(const std::string& root, const StopSignal& stop);

  // The box text once the clean-up has ended (empty when nothing was
  // found); empty before that and on every later call.
  std::string TakeReport();

 private:
  void Run();

  HWND window_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool listed_ = false;            // `pending_` holds every drive to look at
  std::set<std::string> pending_;  // drives ("E:") not yet cleaned up
  bool ended_ = false;
  std::vector<LeftoverFillEnd> ends_;
};

}  // namespace tovo

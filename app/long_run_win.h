// Long work beside a live window: the work runs on a worker thread while the
// window thread keeps its message loop; the owner (the main window) is
// disabled for the run, a progress window shows how far the work is, the time
// left and a stop button, and the owner learns of the end by a posted
// message. Serves the shred command and any other long run (a run over bytes
// only words its lines through ProgressWording).
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "progress/frm_message_win.h"
#include "progress/progress_lines.h"
#include "progress/time_left.h"
#include "shred/run_progress.h"
#include "shred/stop_signal.h"

namespace tovo {

// How a run ended, as its completion is told.
struct LongRunEnd {
  bool stopRequested = false;  // a stop was asked for (button, Esc, a close)
  bool closing = false;        // the program closes now: no final box
  std::exception_ptr error;    // what the work raised, to be rethrown
};

// Called by the work after a change worth seeing at once (a new name, since
// its file may be a large one); cheap, from any thread. A call closer than
// 40 ms to the last one that reached the window is shown by the follow-up
// tick 40 ms after that one.
using ShowNow = std::function<void()>;

struct LongRunSpec {
  ProgressWording wording;
  // Runs on the worker thread: watches `stop` and feeds `progress` (Found,
  // Counted, SetCurrent, AddBytes, FileEnded); the window shows it on its
  // own timer, and at once after `showNow`. What it raises is caught and
  // handed to `done`.
  std::function<void(const StopSignal& stop, RunProgress& progress, const ShowNow& showNow)> work;
  // Runs on the window thread once the work has ended, the progress window is
  // closed and the owner enabled again; may raise (the general error handler
  // then reports it).
  std::function<void(const LongRunEnd& end)> done;
};

class LongRun {
 public:
  // Opens the progress window (owned by `owner`, active, the stop button
  // focused), disables `owner` and starts the work. When the work has ended,
  // `endMessage` is posted to `owner` with `id` as wParam (again on each tick
  // until the owner calls Join, should a post be lost).
  LongRun(HWND owner, UINT endMessage, WPARAM id, LongRunSpec spec);
  // Stops and waits for the work if it still runs, closes the progress
  // window and enables the owner again: on every way out.
  ~LongRun();
  LongRun(const LongRun&) = delete;
  LongRun& operator=(const LongRun&) = delete;

  // Asks the work to stop; the stop button greys and the name line says so.
  void Stop();
  bool StopRequested() const { return stop_.Requested(); }

  // Waits for the worker (at once after the end message) and tells how the
  // work ended; hands over the completion, which the caller runs after
  // destroying this run.
  LongRunEnd Join();
  std::function<void(const LongRunEnd&)> TakeDone() { return std::move(spec_.done); }

  HWND ProgressWindow() const { return window_ ? window_->hwnd() : nullptr; }

 private:
  void Work();
  void Tick();         // the window's timer: paints how far the work is
  void RequestShow();  // the worker's ShowNow
  void ShowArrived();

  const HWND owner_;
  const UINT endMessage_;
  const WPARAM id_;
  LongRunSpec spec_;
  StopSignal stop_;
  RunProgress progress_;
  TimeLeft timeLeft_;
  std::unique_ptr<TFrm_message> window_;
  std::exception_ptr error_;  // written by the worker before `ended_`
  std::atomic<bool> ended_{false};
  std::atomic<bool> showPending_{false};
  std::atomic<RunClock::rep> lastPost_{0};  // the worker's last show-now post
  HWND windowHandle_ = nullptr;             // for the worker's posts
  std::thread worker_;                      // joined in the destructor's body before anything goes
};

}  // namespace tovo

#include "app/long_run_win.h"

#include <utility>

namespace tovo {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kShowNowGap = 40ms;

}  // namespace

LongRun::LongRun(HWND owner, UINT endMessage, WPARAM id, LongRunSpec spec)
    : owner_(owner), endMessage_(endMessage), id_(id), spec_(std::move(spec)) {
  window_ = std::make_unique<TFrm_message>(
      owner, TFrm_message::RunEvents{.stop = [this] { Stop(); },
                                     // The owner decides: its close stops the
                                     // run and closes once the run has ended.
                                     .close = [this] { PostMessageW(owner_, WM_CLOSE, 0, 0); },
                                     .tick = [this] { Tick(); },
                                     .showNow = [this] { ShowArrived(); }});
  windowHandle_ = window_->hwnd();
  Tick();  // the counting line from the start
  // The window first, so that the activation leaves the owner for it.
  window_->OpenActive();
  EnableWindow(owner_, FALSE);
  try {
    worker_ = std::thread([this] { Work(); });
  } catch (...) {
    EnableWindow(owner_, TRUE);
    throw;
  }
}

LongRun::~LongRun() {
  if (worker_.joinable()) {
    stop_.Request();
    worker_.join();
  }
  // Enabled before its popup goes, so that the activation returns to it.
  EnableWindow(owner_, TRUE);
  if (window_) window_->Close();
}

void LongRun::Work() {
  try {
    spec_.work(stop_, progress_, [this] { RequestShow(); });
  } catch (...) {
    error_ = std::current_exception();
  }
  ended_.store(true, std::memory_order_release);
  PostMessageW(owner_, endMessage_, id_, 0);
}

// At most one post every kShowNowGap, and only one pending: a run of small
// files would otherwise cost the worker a post per file, and nobody reads a
// hundred names a second (the tick shows the newest soon enough).
void LongRun::RequestShow() {
  const auto now = RunClock::now().time_since_epoch();
  const auto last = RunClock::duration(lastPost_.load(std::memory_order_relaxed));
  if (now - last < kShowNowGap) return;
  if (showPending_.exchange(true, std::memory_order_acq_rel)) return;
  lastPost_.store(now.count(), std::memory_order_relaxed);
  PostMessageW(windowHandle_, kLongRunShowNow, 0, 0);
}

// A name that came too soon after this one to be posted is shown by one more
// tick a gap later, not left for the next regular tick.
void LongRun::ShowArrived() {
  showPending_.store(false, std::memory_order_release);
  Tick();
  if (window_) window_->TickSoon(static_cast<UINT>(kShowNowGap.count()));
}

void LongRun::Stop() {
  if (stop_.Requested()) return;
  stop_.Request();
  if (window_) window_->DisableStop();
  Tick();
}

LongRunEnd LongRun::Join() {
  if (worker_.joinable()) worker_.join();
  return LongRunEnd{.stopRequested = stop_.Requested(), .closing = false, .error = error_};
}

void LongRun::Tick() {
  const ProgressSnapshot snapshot = progress_.Snapshot();
  const RunClock::time_point now = RunClock::now();
  if (!snapshot.counting) timeLeft_.Start(now);
  const std::optional<std::chrono::seconds> left = timeLeft_.Estimate(now, WorkShare(snapshot));
  if (window_)
    window_->SetLines(DescribeProgress(snapshot, spec_.wording, left, stop_.Requested()));
  if (ended_.load(std::memory_order_acquire)) PostMessageW(owner_, endMessage_, id_, 0);
}

}  // namespace tovo

// Work that asks the file system off the window thread and hands its result
// to the window as a posted message whose lParam owns it.
#pragma once

#include <windows.h>

#include <memory>
#include <thread>
#include <utility>

namespace tovo {

// Runs `work` (returning std::unique_ptr<Result>, possibly null) on a thread
// of its own and posts `message` to `window` with the result's pointer as
// lParam; the receiver takes it back with TakeWorkerResult. A window gone by
// then leaves nothing behind: the result is freed here.
template <class Work>
void PostFromWorker(HWND window, UINT message, Work work) {
  std::thread([window, message, work = std::move(work)]() mutable {
    // A drive without a medium must not raise the system's "insert a disk"
    // box. The thread's own mode: the process's belongs to the window thread.
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);
    auto result = work();
    if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(result.get())))
      result.release();  // the window thread owns it now
  }).detach();
}

template <class Result>
std::unique_ptr<Result> TakeWorkerResult(LPARAM lParam) {
  return std::unique_ptr<Result>(reinterpret_cast<Result*>(lParam));
}

}  // namespace tovo

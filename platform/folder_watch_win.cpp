#include "platform/folder_watch_win.h"

#include <utility>

#include "platform/guards_win.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {

// The worker's notification handles. The window thread opens them, so a
// change right after Watch is never missed; from then on only the worker
// touches them, and it closes them. A handle that fired is held, not waited
// on, until the owner took its message: changes meanwhile are recorded by
// the system and fire again at once when it is re-armed, so none is lost
// and a busy folder cannot make the worker spin faster than the window
// thread reads its messages.
struct FolderWatch::Handles {
  std::vector<Watched> watched;
  unsigned generation = 0;
};

FolderWatch::FolderWatch(HWND window, UINT message, DWORD filter)
    : window_(window),
      message_(message),
      filter_(filter),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!wake_ || !stop_) throw SystemError("creating the folder watch", "", GetLastError());
  thread_.reset(CreateThread(nullptr, 0, &FolderWatch::Run, this, 0, nullptr));
  if (!thread_) throw SystemError("starting the folder watch", "", GetLastError());
}

FolderWatch::~FolderWatch() {
  SetEvent(stop_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
}

void FolderWatch::Watch(std::vector<std::string> folders) {
  if (folders.size() > kMaxFolders) folders.resize(kMaxFolders);
  if (folders == folders_) return;
  folders_ = std::move(folders);
  Publish();
}

// Hands the worker the folders it is to watch now: none while suspended.
void FolderWatch::Publish() {
  const unsigned generation = ++generation_;
  std::vector<Watched> opened;
  const ErrorModeGuard mode;  // a drive without a medium raises no box
  for (size_t i = 0; !suspended_ && i < folders_.size(); ++i) {
    UniqueChangeNotification handle(
        FindFirstChangeNotificationW(Wide(folders_[i]).c_str(), FALSE, filter_));
    if (handle) opened.push_back({i, std::move(handle)});
  }
  AcquireSRWLockExclusive(&lock_);
  handed_ = std::move(opened);  // a set the worker did not take yet is closed here
  handedGeneration_ = generation;
  handedOver_ = true;
  ReleaseSRWLockExclusive(&lock_);
  SetEvent(wake_.get());
}

std::optional<std::string> FolderWatch::Changed(WPARAM wParam, LPARAM lParam) {
  if (static_cast<unsigned>(lParam) != generation_ || wParam >= folders_.size()) {
    return std::nullopt;
  }
  posted_[wParam] = false;
  SetEvent(wake_.get());  // re-arms the folder's handle
  if (suspended_) return std::nullopt;
  return folders_[wParam];
}

FolderWatch::Suspension::Suspension(FolderWatch* watch) : watch_(watch) {
  if (watch_ && watch_->suspended_++ == 0) watch_->Publish();
}

FolderWatch::Suspension::~Suspension() {
  if (watch_ && --watch_->suspended_ == 0) watch_->Publish();
}

DWORD WINAPI FolderWatch::Run(LPVOID self) {
  // A watched drive without a medium must not raise the system's box.
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);
  static_cast<FolderWatch*>(self)->Work();
  return 0;
}

void FolderWatch::Work() {
  Handles handles;
  for (;;) {
    std::vector<HANDLE> waits = {stop_.get(), wake_.get()};
    std::vector<Watched*> armed;
    for (Watched& w : handles.watched) {
      if (w.held) continue;
      waits.push_back(w.handle.get());
      armed.push_back(&w);
    }
    const DWORD result =
        WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, INFINITE);
    if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) return;
    if (result == WAIT_OBJECT_0 + 1) {
      Woken(handles);
      continue;
    }
    const size_t index = result - WAIT_OBJECT_0 - 2;
    if (index >= armed.size()) return;
    Watched& fired = *armed[index];
    fired.held = true;
    posted_[fired.folder] = true;
    PostMessageW(window_, message_, fired.folder, static_cast<LPARAM>(handles.generation));
  }
}

// On a wake: a new set replaces every handle; the held handles whose
// message the owner took are armed again.
void FolderWatch::Woken(Handles& handles) {
  AcquireSRWLockExclusive(&lock_);
  if (handedOver_) {
    handles.watched = std::exchange(handed_, {});
    handles.generation = handedGeneration_;
    handedOver_ = false;
    for (auto& posted : posted_) posted = false;
  }
  ReleaseSRWLockExclusive(&lock_);
  for (Watched& w : handles.watched) {
    if (!w.held || posted_[w.folder]) continue;
    w.held = false;
    if (!FindNextChangeNotification(w.handle.get())) w.handle.reset();
  }
  std::erase_if(handles.watched, [](const Watched& w) { return !w.handle; });
}

}  // namespace tovo

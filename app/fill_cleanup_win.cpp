#include "app/fill_cleanup_win.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "app/form_vazo_win.h"
#include "app/shred_command_win.h"
#include "platform/errors.h"
#include "platform/file_system_win.h"
#include "platform/messages_win.h"
#include "platform/text.h"
#include "shred/free_space_wipe.h"
#include "shred/windows_file_system_win.h"

namespace tovo {
namespace {

// "E:" of "e:\\".
std::string DriveOf(const std::string& root) {
  return AsciiUpper(root.substr(0, 2));
}

std::uint64_t FreeBytes(FileSystem& fs, const std::string& root) {
  VolumeFacts facts;
  return fs.QueryVolume(root, facts) == 0 ? facts.freeBytes : 0;
}

// Removes the fill folder at `root`; nullopt when there was none (or a wipe
// under way holds it).
std::optional<LeftoverFillEnd> CleanUp(const std::string& root) {
  FileSystem& fs = SystemFileSystem();
  const std::uint64_t before = FreeBytes(fs, root);
  LeftoverFillEnd end{.drive = DriveOf(root), .freedBytes = 0, .failure = {}};
  try {
    if (RemoveLeftoverFill(fs, root) != LeftoverFill::kRemoved) return std::nullopt;
    const std::uint64_t after = FreeBytes(fs, root);
    end.freedBytes = after > before ? after - before : 0;
  } catch (const Error& error) {
    end.failure = error.path() + "：" + MessageWithPeriod(error.what());
  } catch (const std::exception& error) {  // the worker must not end the program
    end.failure = MessageWithPeriod(error.what());
  }
  return end;
}

}  // namespace

std::shared_ptr<FillCleanup> FillCleanup::Start(HWND window) {
  auto cleanup = std::make_shared<FillCleanup>();
  cleanup->window_ = window;
  std::thread([cleanup] { cleanup->Run(); }).detach();
  return cleanup;
}

void FillCleanup::Run() {
  // A drive without a medium must not raise the system's "insert a disk" box.
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);
  const std::vector<std::string> roots = FixedDriveRoots();
  {
    const std::lock_guard lock(mutex_);
    for (const std::string& root : roots) pending_.insert(DriveOf(root));
    listed_ = true;
  }
  changed_.notify_all();
  for (const std::string& root : roots) {
    std::optional<LeftoverFillEnd> end = CleanUp(root);
    {
      const std::lock_guard lock(mutex_);
      if (end) ends_.push_back(std::move(*end));
      pending_.erase(DriveOf(root));
    }
    changed_.notify_all();
  }
  {
    const std::lock_guard lock(mutex_);
    ended_ = true;
  }
  PostMessageW(window_, kFillCleanupEnded, 0, 0);
}

bool FillCleanup::WaitFor(const std::string& root, const StopSignal& stop) {
  std::unique_lock lock(mutex_);
  while (!listed_ || pending_.count(DriveOf(root))) {
    if (stop.Requested()) return false;
    changed_.wait_for(lock, std::chrono::milliseconds(100));
  }
  return true;
}

std::string FillCleanup::TakeReport() {
  const std::lock_guard lock(mutex_);
  if (!ended_) return {};
  return LeftoverFillText(std::exchange(ends_, {}));
}

void Tform_vazo::StartFillCleanup() {
  fillCleanup_ = FillCleanup::Start(hwnd());
}

void Tform_vazo::FillCleanupEnded() {
  // A run or a box holds the window: WM_ENABLE brings this back.
  if (!fillCleanup_ || Busy() || !IsWindowEnabled(hwnd())) return;
  const std::string report = fillCleanup_->TakeReport();
  if (!report.empty()) ShredCommandBox(hwnd(), report, MB_OK | MB_ICONINFORMATION);
}

}  // namespace tovo

#include "app/outside_paths_win.h"

#include <memory>
#include <thread>
#include <utility>

#include "app/form_vazo_win.h"
#include "app/shred_command_win.h"
#include "platform/file_system_win.h"
#include "platform/handles_win.h"
#include "platform/messages_win.h"
#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "platform/wide_win.h"
#include "platform/worker_result_win.h"

namespace tovo {
namespace {

std::optional<std::string> ExistingLongPath(const std::string& full) {
  const std::wstring path = Wide(ExtendedLengthPath(full));
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    // Something is there that may not be looked at: the shred tries it and
    // reports what stops it.
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) return full;
    return std::nullopt;
  }
  const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return full;
  std::wstring buffer(size, L'\0');
  const DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), size);
  if (length == 0 || length >= size) return full;
  buffer.resize(length);
  // Back from the extended-length form the query may have needed.
  const std::string found = FullPathFrom(Narrow(buffer), "");
  return found.empty() ? full : found;
}

}  // namespace

std::vector<std::string> CommandLinePaths() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return {};
  const auto release = OnScopeExit([&] { LocalFree(arguments); });
  std::vector<std::string> paths;
  for (int i = 1; i < count; ++i) paths.push_back(Narrow(arguments[i]));
  return paths;
}

std::vector<std::string> DroppedPaths(HDROP drop) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> paths;
  for (UINT i = 0; i < count; ++i) {
    // No fixed buffer: a dropped path may be longer than MAX_PATH.
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(Narrow(path));
  }
  return paths;
}

OutsidePathQueries SystemPathQueries() {
  return {.existing = ExistingLongPath, .compareKey = FileNameKey};
}

std::string RunningProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::string full = Narrow(path);
  return ExistingLongPath(full).value_or(full);
}

void Tform_vazo::QueueGivenPaths(std::vector<std::string> paths) {
  StartRequest request;
  for (std::string& path : paths) request.paths.push_back({std::move(path), startFolder_});
  StartArrived(std::move(request));
}

void Tform_vazo::FormDropFiles(HDROP drop) {
  const UniqueDrop owner(drop);
  const std::vector<std::string> paths = DroppedPaths(drop);
  // While a run is under way, or a box of ours or the check of earlier paths
  // holds the window (each disables it), the drop would start a second
  // command inside the first.
  if (Busy() || !IsWindowEnabled(hwnd())) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  std::vector<GivenPath> given;
  for (const std::string& path : paths) given.push_back({path, startFolder_});
  ShredFromOutside(given);
}

void Tform_vazo::ShredFromOutside(const std::vector<GivenPath>& given) {
  // The file system is asked on a worker: a path on a share that does not
  // answer can keep the asker waiting for many seconds. Meanwhile the window
  // is disabled, so it takes no other command or drop.
  EnableWindow(hwnd(), FALSE);
  PostFromWorker(hwnd(), kOutsidePathsSorted, [given] {
    std::unique_ptr<SortedOutsidePaths> sorted;
    try {
      sorted = std::make_unique<SortedOutsidePaths>(
          SortOutsidePaths(given, RunningProgramPath(), SystemPathQueries()));
    } catch (...) {
      // Nothing is shredded; the window is enabled again all the same.
    }
    return sorted;
  });
}

void Tform_vazo::OutsidePathsSorted(LPARAM result) {
  const std::unique_ptr<SortedOutsidePaths> sorted = TakeWorkerResult<SortedOutsidePaths>(result);
  EnableWindow(hwnd(), TRUE);
  if (!sorted) return;
  const HWND owner = hwnd();
  const std::string leftOut = LeftOutText(*sorted);
  if (!leftOut.empty()) ShredCommandBox(owner, leftOut, MB_OK | MB_ICONWARNING);
  if (sorted->accepted.empty()) return;
  // Only a Yes goes on: a box that could not be shown is no consent.
  if (ShredCommandBox(owner, OutsideConsentText(sorted->accepted),
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  ShredPaths(sorted->accepted);
}

}  // namespace tovo

// Watches folders for entries that are made, deleted or renamed, so the
// views can follow the disk. A worker thread waits on the system's change
// notifications and posts a message to the owner's window for each change;
// the window thread never waits. The watched set is replaced as a whole;
// messages about a replaced set are recognised and dropped.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles_win.h"

namespace tovo {

class FolderWatch {
 public:
  // The most folders one watch follows (the wait takes 64 handles, two of
  // them are the worker's own events); folders beyond are not watched.
  static constexpr size_t kMaxFolders = MAXIMUM_WAIT_OBJECTS - 2;

  // Changes are posted to `window` as `message`; `filter` is a set of
  // FILE_NOTIFY_CHANGE_* flags. Starts with nothing watched.
  FolderWatch(HWND window, UINT message, DWORD filter);
  // Stops the worker; it only waits on its events, so this is quick.
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches exactly these folders from now on (paths as given; the first
  // kMaxFolders only): every change after the call is reported, so a view
  // calls it before it reads the folders. A folder that cannot be watched
  // is left out.
  void Watch(std::vector<std::string> folders);
  const std::vector<std::string>& Folders() const { return folders_; }

  // The folder a posted message reports, or nullopt for a message about a
  // set since replaced, or while suspended. Window thread only.
  std::optional<std::string> Changed(WPARAM wParam, LPARAM lParam);

  // While a Suspension lives no folder is watched (no handle stays open on
  // them, so they can be removed) and no change is reported; at its end the
  // watch resumes on the folders of the latest Watch call. Changes made
  // meanwhile are not reported: the holder reads what it changed itself.
  // A null watch (a view without its window) suspends nothing.
  class Suspension {
   public:
    explicit Suspension(FolderWatch* watch);
    ~Suspension();
    Suspension(const Suspension&) = delete;
    Suspension& operator=(const Suspension&) = delete;

   private:
    FolderWatch* watch_;
  };

 private:
  struct Watched {
    size_t folder;  // index in the set
    UniqueChangeNotification handle;
    bool held = false;  // fired, its message not taken yet
  };
  struct Handles;

  void Publish();
  static DWORD WINAPI Run(LPVOID self);
  void Work();
  void Woken(Handles& handles);

  HWND window_;
  UINT message_;
  DWORD filter_;
  std::vector<std::string> folders_;  // window thread: what the owner asked for
  int suspended_ = 0;
  unsigned generation_ = 0;  // window thread: the set of the latest Publish

  SRWLOCK lock_ = SRWLOCK_INIT;  // guards the three below
  std::vector<Watched> handed_;  // opened by the window thread, for the worker
  unsigned handedGeneration_ = 0;
  bool handedOver_ = false;
  std::array<std::atomic<bool>, kMaxFolders> posted_{};  // a message is on its way

  UniqueKernelHandle wake_;
  UniqueKernelHandle stop_;
  UniqueKernelHandle thread_;
};

}  // namespace tovo

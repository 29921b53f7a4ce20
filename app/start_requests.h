// What a start of the program asks for: paths to shred, the free-space wipe
// of a drive, or the Recycle Bin. A second start hands its request to the
// instance already running; requests that arrive there wait in one queue
// until the window is free, and paths arriving one after another (the shell
// starts one process per selected item) are gathered into one question.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/outside_paths.h"

namespace tovo {

enum class StartKind {
  kPaths,       // the arguments are paths (none: just show the window)
  kWipe,        // "/wipe <drive>": the free-space wipe of that drive
  kRecycleBin,  // "/recycle-bin": the current user's Recycle Bin
};

struct StartRequest {
  StartKind kind = StartKind::kPaths;
  // The paths, or for kWipe the drive argument (possibly absent).
  std::vector<GivenPath> paths;
  bool operator==(const StartRequest&) const = default;
};

inline constexpr std::string_view kWipeSwitch = "/wipe";
inline constexpr std::string_view kRecycleBinSwitch = "/recycle-bin";

// The request of a command line's arguments (after the program's name). A
// switch counts only as the first argument, in any case; anything else is a
// path.
StartRequest ParseStartArguments(const std::vector<std::string>& arguments,
                                 const std::string& folder);

// The arguments and folder of a start, as one block for another process:
// each field followed by a zero byte, the folder first. No path holds one.
std::string EncodeStart(const std::vector<std::string>& arguments, const std::string& folder);
// The request of such a block; nullopt when it is not one.
std::optional<StartRequest> DecodeStart(std::string_view block);

// The drive root "X:\" that a wipe argument names ("X:", "X:\", "x:\" and
// the "X:\"" a quoted root becomes on a command line); nullopt for anything
// else, a folder or a share included.
std::optional<std::string> WipeDriveRoot(const GivenPath& argument);

// The box for a wipe argument that names no drive the wipe can take.
std::string WipeRefusedText(std::string_view argument);

// The requests that wait for the window. Paths that arrive while the last
// waiting request is also paths join it, so they are asked about together;
// a switch is a request of its own. The front is due once it is a switch,
// or once no path has joined it for `quiet`.
class StartQueue {
 public:
  using Clock = std::chrono::steady_clock;

  explicit StartQueue(std::chrono::milliseconds quiet) : quiet_(quiet) {}

  // Requests of paths with none are ignored: they only show the window.
  void Arrive(StartRequest request, Clock::time_point now);
  // When the front will be due; nullopt when nothing waits.
  std::optional<Clock::time_point> DueAt() const;
  // Removes and returns the front when it is due at `now`.
  std::optional<StartRequest> TakeDue(Clock::time_point now);

 private:
  struct Waiting {
    StartRequest request;
    Clock::time_point last;
  };
  std::chrono::milliseconds quiet_;
  std::deque<Waiting> waiting_;
};

}  // namespace tovo

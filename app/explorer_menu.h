// The entries the program can add to Explorer's right-click menu for the
// current user: one static verb per kind of item, all with the same key name
// and the program's own icon, each running this copy of the program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovo {

// The verb's key name under each class's "shell" key.
inline constexpr std::string_view kExplorerVerbKey = "TovoShred";

struct ExplorerMenuEntry {
  // Below the current user's Software\Classes: "*", "Directory", ...
  std::string classKey;
  std::string text;
  std::string command;
};

// The entries for the program at `programPath` (its full path): files and
// folders shred the item, drives wipe the free space, the Recycle Bin
// shreds what it holds.
std::vector<ExplorerMenuEntry> ExplorerMenuEntries(std::string_view programPath);

}  // namespace tovo

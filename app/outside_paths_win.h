// Where paths from outside come in: the command line, a drop on the main
// window, and the file system that SortOutsidePaths asks.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/outside_paths.h"

namespace tovo {

// The arguments after the program's own name, split as the system splits a
// command line (quotes group blanks).
std::vector<std::string> CommandLinePaths();

// The paths of a drop block (CF_HDROP), in its order.
std::vector<std::string> DroppedPaths(HDROP drop);

// SortOutsidePaths' questions answered by the real file system.
OutsidePathQueries SystemPathQueries();

// The running executable's full path as the file system knows it.
std::string RunningProgramPath();

}  // namespace tovo

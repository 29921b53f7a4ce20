// Which drives the free-space wipe takes, asked of the system.
#pragma once

#include <string>

namespace tovo {

// A drive whose free space this machine holds (CanWipeDriveType), and that
// is ready to say how much that is; `root` is its root, "E:\".
bool CanWipe(const std::string& root);

}  // namespace tovo

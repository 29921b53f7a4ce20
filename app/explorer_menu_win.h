// Explorer's right-click menu entries in the current user's registry
// classes: whether they are there for this copy of the program, and turning
// them on and off. Nothing outside their own keys is changed, and a key
// above them is removed again only when they made it and it is left empty.
#pragma once

#include <string>

namespace tovo {

// True when every entry exists and runs the program at `programPath`.
bool ExplorerMenuInstalled(const std::string& programPath);

// Writes every entry for the program at `programPath`, replacing entries
// that name another path. Throws SystemError when a key cannot be written;
// what was written is removed again then.
void InstallExplorerMenu(const std::string& programPath);

// Removes every entry, whichever path it names. Throws SystemError when a
// key cannot be removed.
void RemoveExplorerMenu();

}  // namespace tovo

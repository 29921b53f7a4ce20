// The current user's shell-folder paths ("desktop", "personal", ...), read
// from the Explorer "Shell Folders" key.
#pragma once

#include <windows.h>

#include <string>

namespace tovo {

// The folder's path followed by "\". Degenerate results, never an error:
//   key missing or not openable -> ""
//   value missing               -> "\"
//   value not a string, or any other read error -> ""
// The value is taken as stored: environment references are not expanded.
std::string GetShellFolderPath(const std::string& valueName);

// The same lookup under any key, so tests can use a key of their own.
std::string ReadShellFolderPath(HKEY root, const std::wstring& subKey,
                                const std::string& valueName);

}  // namespace tovo

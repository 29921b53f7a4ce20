// The file-system questions the widgets, the engine and the app share: the
// directory search, the current folder, "is a folder" and name equality.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/current_folder.h"
#include "platform/file_attributes.h"

namespace tovo {

// Runs a directory search on `pattern` and calls `visit` for every entry in
// the order the system returns them, "." and ".." included, until `visit`
// returns false. The search stays open while `visit` runs, so `visit` may
// recurse. Returns 0 when the search ran (to its end or until stopped), else
// the code of the failed start or step; a search that cannot start visits
// nothing.
SystemCode ForEachEntry(const std::string& pattern,
                        const std::function<bool(const FolderEntry&)>& visit);

// The process's current folder; empty when it cannot be read.
std::string CurrentFolder();

// The process as owner of its current folder, for CurrentFolderGuard.
class ProcessFolder final : public CurrentFolderOwner {
 public:
  std::string CurrentFolder() override;
  SystemCode EnterFolder(const std::string& path) override;
};

// Remembers the process's current folder and makes it current again.
class ProcessFolderGuard {
 public:
  ProcessFolderGuard() : guard_(process_) {}
  const std::string& saved() const { return guard_.saved(); }

 private:
  ProcessFolder process_;
  CurrentFolderGuard guard_;
};

// The roots ("C:\\") of the fixed drives, in letter order.
std::vector<std::string> FixedDriveRoots();

// True when the path names an existing folder (a folder link included).
bool IsFolder(const std::string& path);

// Whether two file names are the same ignoring case, in the user's locale.
bool SameFileName(const std::string& a, const std::string& b);

// A text that is equal for two names or paths exactly when the file system
// takes them for one: upper case by the locale-independent table, as the
// file system's own case table maps names.
std::string FileNameKey(const std::string& name);

}  // namespace tovo

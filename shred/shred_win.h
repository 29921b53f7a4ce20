// The shredding engine for the program's callers, on the real file system
// and the process's one random generator. Window thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/paths.h"
#include "shred/folder_shredder.h"
#include "shred/shred_outcome.h"

namespace tovo {

// Destroys one file (see ShredFileWith for the contract). Never throws for a
// file-system failure: the outcome says what happened; go on with the next.
ShredOutcome ShredFile(const std::string& path);

// Destroys a folder tree. `progress` (may be empty) gets the text to show
// before each file, e.g. [](const std::string& t) { ShowProgress(2, t); }.
// Throws IoError (platform/errors.h) when a folder of the tree cannot be
// entered, before anything of this folder is shredded. Returns the outcomes
// of every file not destroyed and every folder not removed; empty when the
// whole tree is gone.
std::vector<ShredOutcome> ShredFolderTree(const std::string& folder, const ProgressText& progress);

// The tools, on the real file system (contracts in folder_shredder.h).
void ListFilesRecursive(const std::string& folder, std::vector<std::string>& files);
std::vector<ShredOutcome> RemoveFolderTree(const std::string& folder);

// True when the path names an existing folder (a folder link included).
bool FolderExists(const std::string& path);

}  // namespace tovo

// Destroying a folder tree: list every file below it, shred each one, then
// remove the emptied folders from the bottom up.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shred/file_shredder.h"
#include "shred/file_system.h"
#include "shred/random_generator.h"
#include "shred/shred_outcome.h"
#include "shred/shred_pipeline.h"

namespace tovo {

// Where a file about to be shredded comes from: the user selected it, or it
// was found in a selected folder. The caller words its progress text by it.
enum class ShredSource { kSelectedFile, kFileInFolder };

// Told about each file before it is shredded.
using ShredProgress = std::function<void(const std::string& path, ShredSource source)>;

// Appends the full path of every file below `folder`, at any depth: depth
// first, in the order the directory search returns the entries; "." and ".."
// are skipped, every other entry is taken whatever its attributes. A folder
// entry that is a link (reparse point) is not walked into. Each folder is made
// the current folder while it is listed; when that fails, IoError with the
// system code is raised and the listing stops. The current folder is
// restored on every way out.
void ListFilesRecursive(FileSystem& fs, const std::string& folder, std::vector<std::string>& files);

// Removes the folder's sub-folders bottom up, then the folder itself, each
// under a neutral name (see RemoveFolderConcealed); files are left alone.
// Folder links are removed without touching their targets and keep their
// names, or are left in place and reported where the file system cannot do
// that safely. Appends an outcome for every folder that was not removed.
void RemoveFolderTree(FileSystem& fs, const std::string& folder,
                      std::vector<ShredOutcome>& notRemoved, const ShredOptions& options = {});

// The whole tree: when `folder` is itself a link only the link is removed;
// otherwise the full listing first (IoError before anything is shredded), then
// each file after telling `progress` (may be empty), then the folder removal.
// Returns the outcomes of the files not destroyed, in list order, followed by
// those of the folders not removed, bottom up. `pipeline` says whether files
// overlap; the result is the same either way.
std::vector<ShredOutcome> ShredFolderTreeWith(FileSystem& fs, RandomGenerator& generator,
                                              const std::string& folder,
                                              const ShredProgress& progress,
                                              const ShredOptions& options = {},
                                              PipelineOptions pipeline = Sequential());

// One path the user selected, a file or a folder as one attribute read finds
// it: a folder (a folder link included) goes as ShredFolderTreeWith does;
// anything else, a path without attributes included, as one file after
// telling `progress`. Returns the outcomes of what was not destroyed; raises
// IoError as the folder listing does.
std::vector<ShredOutcome> ShredPathWith(FileSystem& fs, RandomGenerator& generator,
                                        const std::string& path, const ShredProgress& progress,
                                        const ShredOptions& options = {},
                                        PipelineOptions pipeline = Sequential());

// ShredPathWith through a pipeline that serves every path of one command, so
// that files overlap across paths; the outcomes are kept there, in order.
void ShredPathInto(ShredPipeline& pipeline, const std::string& path, const ShredProgress& progress);

}  // namespace tovo

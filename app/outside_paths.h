// Paths that reach the program from outside: the command line (files dropped
// on the program's icon or sent to a shortcut of it) and files dropped on the
// main window. They are sorted into what may be shredded and what is left
// out, and turned into the texts of the boxes that say so and ask for
// consent.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovo {

// One argument as given, with the folder of the process that got it:
// relative paths mean that folder.
struct GivenPath {
  std::string text;
  std::string folder;
  bool operator==(const GivenPath&) const = default;
};

// An argument as the command line's splitting left it, made a path again: no
// name holds a quote, and one at the end is what is left of a quoted path
// that ended in "\" ("C:\" becomes C:").
std::string UnquotedArgument(std::string text);

// The file-system questions the sorting asks, so that it can be tested
// without a disk.
struct OutsidePathQueries {
  // The form of a full path the file system knows it by (short 8.3
  // components made long) when something exists there; nullopt when nothing
  // does.
  std::function<std::optional<std::string>(const std::string& fullPath)> existing;
  // A text that is equal for two paths exactly when the file system takes
  // them for the same name (Windows ignores case).
  std::function<std::string(const std::string& path)> compareKey;
};

enum class OutsideRefusal {
  kRoot,           // a drive root, a share root or a device: never a file or folder
  kProgram,        // the running program's own executable
  kProgramFolder,  // the folder that holds the executable, or one above it
};

struct RefusedPath {
  std::string path;
  OutsideRefusal why;
  bool operator==(const RefusedPath&) const = default;
};

struct SortedOutsidePaths {
  // Full paths to shred, in the order given, each once; none lies inside
  // another one's folder.
  std::vector<std::string> accepted;
  // Full paths where nothing exists.
  std::vector<std::string> missing;
  std::vector<RefusedPath> refused;
};

// Sorts the paths given from outside, each made full with FullPathFrom from
// its own folder. Empty and blank arguments are skipped: they would name the
// start folder. `programPath` is the running executable's full path as the
// file system knows it.
SortedOutsidePaths SortOutsidePaths(const std::vector<GivenPath>& given,
                                    std::string_view programPath,
                                    const OutsidePathQueries& queries);
// The same for paths that all mean `startFolder`.
SortedOutsidePaths SortOutsidePaths(const std::vector<std::string>& given,
                                    std::string_view startFolder, std::string_view programPath,
                                    const OutsidePathQueries& queries);

// The consent question for `accepted` (not empty): how many items, then the
// first of them one per line and how many more there are.
std::string OutsideConsentText(const std::vector<std::string>& accepted);

// The warning that names what was left out, missing paths first; empty when
// nothing was.
std::string LeftOutText(const SortedOutsidePaths& sorted);

}  // namespace tovo

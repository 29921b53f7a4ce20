// Path text helpers. Paths are absolute Windows paths in UTF-8 with "\"
// separators.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tovo {

// The last component of a path: one leading and one trailing "\" are dropped,
// then the text after the last "\" is returned ("C:\Data\Old\" gives "Old",
// "C:\" gives "C:", "\" and "" give "").
std::string ExtractLastName(std::string_view path);

// True when a name from a directory search holds "\" or "/". Windows never
// reports one, but Wine passes Unix names through ("..\x" is a valid Unix
// name): joined to its folder it would address another file, possibly one
// outside the folder, so such a name is never joined.
bool HoldsPathSeparator(std::string_view name);

// folder + "\" + name, without doubling a "\" the folder already ends in.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder that holds the file or folder `path` names (one trailing "\"
// of `path` ignored): "C:\Data\a.txt" and "C:\Data\Old\" give "C:\Data",
// "C:\a.txt" gives "C:\". Empty for a drive root and a path without "\".
std::string FolderHolding(std::string_view path);

// The extended-length form ("\\?\C:\..." or "\\?\UNC\server\share\...") of
// an absolute path that the W functions would not take as it is written:
// longer than the classic 260-character limit (counted in UTF-16 units,
// terminating null included), or with a name that ends in a dot or a blank
// (plain paths drop them and so name another file) or that is a reserved
// device name (CON, NUL, COM1, ...). That form takes the path literally, so
// "/" becomes "\" there. Other paths, relative paths, paths with "." or ".."
// components and paths already in that form come back unchanged.
std::string ExtendedLengthPath(std::string_view path);

// The full path `path` names, worked out on the text alone: "/" is read as
// "\", doubled separators and "." drop out, ".." takes away the name before
// it (never the root), and a relative path is taken from `folder` (an
// absolute folder path): "x" and "C:x" (when `folder` is on C:) from the
// folder, "\x" from its root. "C:" (the drive, not its current folder) and
// "C:\" give "C:\", a share root gives
// "\\server\share" without a final "\", and "\\?\C:\..." and
// "\\?\UNC\server\share\..." give their plain form. Empty for what names no
// file or folder path (a device such as "\\.\PhysicalDrive0", "\\server"
// without a share) and for a relative path when `folder` is not absolute.
std::string FullPathFrom(std::string_view path, std::string_view folder);

// True for a full path as FullPathFrom gives it that names a drive root or a
// share root.
bool IsRootPath(std::string_view fullPath);

// True when `path` lies below `folder` (both full paths, compared as given).
bool IsInsideFolder(std::string_view path, std::string_view folder);

// The classic limit: a path of this many UTF-16 units or more (without the
// terminating null) needs the extended-length form.
inline constexpr std::size_t kClassicPathLimit = 260;

}  // namespace tovo

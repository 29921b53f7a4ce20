// Hiding what a destroyed file's or folder's entry still tells once its
// contents are gone: its size, its times and its name, as a tool reading the
// raw disk would see them.
#pragma once

#include <string>
#include <string_view>

#include "shred/file_system.h"
#include "shred/shred_outcome.h"

namespace tovo {

// 1980-01-01 00:00 UTC: a time every file system can store.
inline constexpr FileTime kNeutralFileTime = 119600064000000000ull;

// Neutral names tried ("0…", "1…", … "9…") before an entry keeps its name.
inline constexpr int kNeutralNameTries = 10;

// `name`'s length in UTF-16 units (as NTFS stores names, so the entry is
// rewritten in place and no tail of the old name stays) of the one character
// "0" + attempt.
std::string NeutralName(std::string_view name, int attempt);

// Where the outcome's file or folder is now: its path, or the path in the
// same folder under the name it was renamed to.
std::string PathNow(const ShredOutcome& outcome);

// The last steps for a file whose overwrite and flush succeeded, all through
// its open handle so nothing can be swapped in between: cut to length 0,
// neutral times, a neutral name in its folder, marked for deletion, closed.
// The first three are best effort, the contents being gone already. Where
// the file system cannot delete on close, the file is deleted by the name it
// now has. The outcome is a close or delete failure, with the new name when
// the file was renamed and stayed. The neutral names are tried from
// `firstAttempt` on, wrapping round.
ShredOutcome ConcealAndDelete(FileSystem& fs, OpenFile& file, const std::string& path,
                              int firstAttempt = 0);

// Removes an emptied folder after giving it a neutral name. A folder that
// cannot be removed gets its name back, since the files that keep it are
// reported by their old paths; the outcome carries the new name only when
// that fails too.
ShredOutcome RemoveFolderConcealed(FileSystem& fs, const std::string& folder);

}  // namespace tovo

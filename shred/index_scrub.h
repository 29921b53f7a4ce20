// A folder's index keeps the names of removed entries in its unused tail
// until new entries are written over them. Creating and deleting a few empty
// files with long neutral names pushes the used part over that tail, so a
// raw read of the disk no longer finds the old names there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shred/file_system.h"

namespace tovo {

// The length of a scrub entry's name: close to the 255 a name may have, and
// the length measured to clear a folder's tail.
inline constexpr std::size_t kScrubNameLength = 250;

// The scrub entries made at least and at most for one folder. Four cleared
// the tail of a folder that had held five files; eight (584 bytes each) span
// a whole 4 KiB index block, and the bound keeps a folder of thousands of
// removed names from costing thousands of files.
inline constexpr int kScrubEntriesMin = 4;
inline constexpr int kScrubEntriesMax = 8;

// The bytes an index entry with this name takes (the name in UTF-16 and the
// entry's fixed part), which a removed one may leave in the tail.
std::uint64_t IndexEntryBytes(std::string_view name);

// `number` in decimal, padded on the left with "0" to `width` characters: a
// name of zeros that is still unique in its folder.
std::string ZeroPaddedName(std::uint64_t number, std::size_t width);

// Creates and deletes empty files with names of kScrubNameLength zeros in
// `folder`, enough to cover `removedBytes` of index entries (within the
// bounds above), all of them before the first is deleted. Best effort: a
// name already taken is passed over, the first refusal of any other kind
// ends the making, and only the files made here are deleted.
void ScrubFolderIndex(FileSystem& fs, const std::string& folder, std::uint64_t removedBytes);

// After a shred of the paths a user selected: one scrub of each folder that
// held them, for the names removed from it. Drive roots selected themselves
// have no folder above them.
void ScrubSelectionParents(FileSystem& fs, const std::vector<std::string>& paths);

}  // namespace tovo

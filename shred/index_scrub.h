// A folder's index keeps the names of removed entries wherever no new entry
// has been written since: in the unused tails of its index blocks, and, once
// the index has outgrown the folder's own file record and moved to blocks, in
// the part of that record which held it while the folder was small. Creating
// and then deleting empty files with neutral names writes over both: their
// entries fill the blocks' tails, and the entries that block splits push up
// into the record write over what it kept. Nothing but these empty files is
// ever created, and every one is deleted again on every way out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "shred/file_system.h"
#include "shred/shred_outcome.h"
#include "shred/stop_signal.h"

namespace tovo {

// Empty files of one name length, made one after the other.
struct FillerGroup {
  int count;
  std::size_t nameLength;
};

// The length of the names that clear a folder's index tail: close to the 255
// a name may have, so that few entries span a whole block.
inline constexpr std::size_t kScrubNameLength = 250;

// The tail scrub's files at least and at most for one folder. Four cleared
// the tail of a folder that had held five files; eight (584 bytes each) span
// a whole 4 KiB index block, and the bound keeps a folder of thousands of
// removed names from costing thousands of files.
inline constexpr int kScrubEntriesMin = 4;
inline constexpr int kScrubEntriesMax = 8;

// The files that clear a folder that stays, in the order they are made.
// Only entries that index block splits push up into the record write there,
// and how far they reach depends on their sizes and on the room the record
// has left: short names first make the splits promote short entries that
// fit, the long ones then reach the record's end or make the file system
// rewrite it. Measured on NTFS volumes written by ntfs-3g (1 KiB records,
// 4 KiB index blocks) with folders that had held 5 to 15 files with names
// of 10 to 20 characters before their index moved out: one length alone
// (16 to 64 files) left 1 to 3 of those names in most of the records. Over
// 13 such folders four files of 250 characters left 34 names on the
// volumes, this mix 5: 4 in a later index block, which names of zeros do
// not sort into, and 1 in the record of a folder with a 60-character name.
inline constexpr FillerGroup kKeptFolderFillers[] = {{8, 20}, {8, 250}, {16, 120}, {16, 20}};

// `number` in decimal, padded on the left with "0" to `width` characters: a
// name of zeros that is still unique in its folder.
std::string ZeroPaddedName(std::uint64_t number, std::size_t width);

// Creates the groups' empty files in `folder`, all of them before the first
// is deleted (one made and deleted at a time would write over the same bytes
// again and again), then deletes them. Best effort in the making: a name
// already taken is passed over, and the first refusal of any other kind, or
// a stop, ends it. Only files made here are deleted; a deletion that fails
// is tried once more after the others. Returns the files that could still
// not be deleted.
std::vector<ShredOutcome> ScrubWithFillers(FileSystem& fs, const std::string& folder,
                                           std::span<const FillerGroup> groups,
                                           const StopSignal* stop = nullptr);

// The index tail of a folder, for `removedBytes` of index entries removed
// from it: kScrubNameLength names, enough to cover those bytes within the
// bounds above.
std::vector<ShredOutcome> ScrubFolderIndex(FileSystem& fs, const std::string& folder,
                                           std::uint64_t removedBytes);

// After a shred of the paths a user selected: one scrub with
// kKeptFolderFillers of each folder that held them and stays. Drive roots
// selected themselves have no folder above them. Returns the files that
// could not be deleted.
std::vector<ShredOutcome> ScrubSelectionParents(FileSystem& fs,
                                                const std::vector<std::string>& paths,
                                                const StopSignal* stop = nullptr);

}  // namespace tovo

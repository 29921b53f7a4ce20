// The current user's Recycle Bin on one drive: a folder per user named by the
// user's SID, where each deleted item is a pair of entries, `$R<id><ext>`
// (the data: a file or a whole folder tree) and `$I<id><ext>` (its record:
// the original path, size and deletion time). The program reads the records
// to name what it is about to shred, and shreds both halves.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovo {

inline constexpr std::string_view kRecycleBinFolder = "$Recycle.Bin";
inline constexpr std::string_view kRecycleBinEmptyText = "回收站是空的。";

// What a record tells about its deleted item.
struct DeletedItemRecord {
  std::uint64_t size = 0;       // the item's size when it was deleted
  std::uint64_t deletedAt = 0;  // a file time (100 ns since 1601, UTC)
  std::string originalPath;     // UTF-8
  bool operator==(const DeletedItemRecord&) const = default;
};

// A record's bytes, in either format the system writes: version 1 holds the
// path in a fixed field of 260 UTF-16 characters, version 2 a character
// count and then the path. Nullopt for an unknown version, a record too
// short for its own header or path, an empty path, or one with control
// characters (a damaged record is named by its data's entry instead).
std::optional<DeletedItemRecord> ParseDeletedItemRecord(std::string_view bytes);

// One deleted item found in a bin folder: the full paths of its two entries
// (either may be missing when the bin is damaged) and the name the consent
// box gives it.
struct BinItem {
  std::string data;    // `$R…`, or empty
  std::string record;  // `$I…`, or empty
  std::string name;    // the record's original path, else the entry's own path
  bool operator==(const BinItem&) const = default;
};

// Pairs the entry names of one bin folder (`folder` is its full path) by the
// id after `$R` / `$I`, in the order the data entries come; anything else in
// the folder (the bin's own desktop.ini) is no item. `originalPath` reads the
// record at a full path and gives nullopt when it cannot be read or parsed.
std::vector<BinItem> PairBinEntries(
    const std::string& folder, const std::vector<std::string>& names,
    const std::function<std::optional<std::string>(const std::string& recordPath)>& originalPath);

// Every entry of `items`, data first: what the shred run destroys.
std::vector<std::string> BinPaths(const std::vector<BinItem>& items);

// The consent question: how many items, then the first names one per line
// and how many more there are.
std::string RecycleBinConsentText(const std::vector<BinItem>& items);

}  // namespace tovo

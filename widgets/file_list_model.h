// The file list's model: which directory entries qualify, the entries and
// their records kept in one order, and the sort that puts folders first.
// Portable: icons are opaque values and name ordering comes from the platform.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_attributes.h"

namespace tovo {

enum class FileAttr {
  ftReadOnly,
  ftHidden,
  ftSystem,
  ftVolumeID,
  ftDirectory,
  ftArchive,
  ftNormal
};

// The set of entry kinds a list shows.
class FileType {
 public:
  constexpr FileType() = default;
  constexpr FileType(std::initializer_list<FileAttr> members) {
    for (FileAttr m : members) bits_ |= Bit(m);
  }
  constexpr bool Has(FileAttr m) const { return (bits_ & Bit(m)) != 0; }
  constexpr bool operator==(const FileType&) const = default;

 private:
  static constexpr unsigned Bit(FileAttr m) { return 1u << static_cast<unsigned>(m); }
  unsigned bits_ = 0;
};

// The OR of the attribute bits of the members (ftNormal has none).
std::uint32_t AttributeMask(FileType type);

// Hidden, system and directory, less the bits of the mask: an entry carrying
// any of these is passed over by the enumeration.
std::uint32_t ExclusionSet(FileType type);

// Whether an entry with these attributes is listed.
bool Qualifies(FileType type, std::uint32_t attributes);

// An icon handle the model does not interpret; kNoIcon is "none".
using IconHandle = std::uintptr_t;
inline constexpr IconHandle kNoIcon = 0;

// One record per displayed entry.
struct TFileEntryInfo {
  std::string EntryName;  // as the enumeration reported it
  bool IsFolder = false;
  IconHandle Icon = kNoIcon;
  bool OwnsIcon = false;  // false: borrowed from the extension icon cache
};

// How the platform orders and compares names: a case-insensitive key in the
// user's locale (bytewise order of keys = the locale's text order; equal keys
// = the same name ignoring case), and the locale's lower case.
class NameCollation {
 public:
  virtual ~NameCollation() = default;
  virtual std::string SortKey(std::string_view name) const = 0;
  virtual std::string Lower(std::string_view text) const = 0;
};

// Folders before files; then the names' locale order ignoring case.
// Negative, zero or positive like a classic comparison.
int CompareEntries(bool folderA, std::string_view keyA, bool folderB, std::string_view keyB);

// The displayed entries and their records, always the same count and order.
class FileListModel {
 public:
  struct Row {
    std::string text;  // the displayed entry: the bare name
    TFileEntryInfo info;
    std::string key;  // the collation's sort key of the name
  };

  size_t Count() const { return rows_.size(); }
  const std::string& Text(size_t i) const { return rows_[i].text; }
  const TFileEntryInfo& Info(size_t i) const { return rows_[i].info; }

  void Append(std::string key, TFileEntryInfo info);

  // Hands every icon a record owns to `release`, then empties the model.
  template <typename Release>
  void Clear(Release&& release) {
    for (Row& row : rows_)
      if (row.info.OwnsIcon && row.info.Icon != kNoIcon) release(row.info.Icon);
    rows_.clear();
  }

  // The quicksort over rows L..R (inclusive), exchanging entry and record
  // together. The pivot is the middle record itself, copied, so exchanges
  // never move it.
  void SortEntries(size_t left, size_t right);
  void SortAll() {
    if (rows_.size() >= 2) SortEntries(0, rows_.size() - 1);
  }

 private:
  std::vector<Row> rows_;
};

}  // namespace tovo

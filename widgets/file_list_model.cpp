#include "widgets/file_list_model.h"

#include <utility>

namespace tovo {
namespace {

constexpr std::uint32_t kAlwaysExcludable = attr::kHidden | attr::kSystem | attr::kDirectory;

struct MemberBit {
  FileAttr member;
  std::uint32_t bit;
};

constexpr MemberBit kMemberBits[] = {
    {FileAttr::ftReadOnly, attr::kReadOnly},   {FileAttr::ftHidden, attr::kHidden},
    {FileAttr::ftSystem, attr::kSystem},       {FileAttr::ftVolumeID, attr::kVolumeId},
    {FileAttr::ftDirectory, attr::kDirectory}, {FileAttr::ftArchive, attr::kArchive},
};

int CompareRows(const FileListModel::Row& a, const FileListModel::Row& b) {
  return CompareEntries(a.info.IsFolder, a.key, b.info.IsFolder, b.key);
}

}  // namespace

std::uint32_t AttributeMask(FileType type) {
  std::uint32_t mask = 0;
  for (const MemberBit& m : kMemberBits)
    if (type.Has(m.member)) mask |= m.bit;
  return mask;
}

std::uint32_t ExclusionSet(FileType type) {
  return kAlwaysExcludable & ~AttributeMask(type);
}

bool Qualifies(FileType type, std::uint32_t attributes) {
  if (attributes & ExclusionSet(type)) return false;
  return type.Has(FileAttr::ftNormal) || (attributes & AttributeMask(type)) != 0;
}

int CompareEntries(bool folderA, std::string_view keyA, bool folderB, std::string_view keyB) {
  if (folderA != folderB) return folderA ? -1 : 1;
  const int c = keyA.compare(keyB);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void FileListModel::Append(std::string key, TFileEntryInfo info) {
  std::string text = info.EntryName;
  rows_.push_back(Row{std::move(text), std::move(info), std::move(key)});
}

void FileListModel::SortEntries(size_t left, size_t right) {
  // Signed indices: j may step below L. The smaller side recurses and the
  // larger one loops, so the depth stays logarithmic on any input; the two
  // sides are disjoint, so the order they are sorted in changes nothing.
  long l = static_cast<long>(left);
  long r = static_cast<long>(right);
  while (l < r) {
    long i = l;
    long j = r;
    const Row pivot = rows_[static_cast<size_t>((l + r) / 2)];
    do {
      while (CompareRows(rows_[i], pivot) < 0) ++i;
      while (CompareRows(rows_[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(rows_[i], rows_[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - l < r - i) {
      if (l < j) SortEntries(static_cast<size_t>(l), static_cast<size_t>(j));
      l = i;
    } else {
      if (i < r) SortEntries(static_cast<size_t>(i), static_cast<size_t>(r));
      r = j;
    }
  }
}

}  // namespace tovo

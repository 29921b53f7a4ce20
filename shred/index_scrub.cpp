#include "shred/index_scrub.h"

#include <algorithm>
#include <map>

#include "platform/paths.h"
#include "platform/text.h"

namespace tovo {
namespace {

// An NTFS index entry: a 16-byte header, a 66-byte file name record, then
// the name.
constexpr std::uint64_t kIndexEntryFixedBytes = 82;

// Names already taken are passed over at most this often in one scrub.
constexpr int kTakenNamesPassedOver = 8;

}  // namespace

std::uint64_t IndexEntryBytes(std::string_view name) {
  return kIndexEntryFixedBytes + 2 * Utf8ToUtf16(name).size();
}

std::string ZeroPaddedName(std::uint64_t number, std::size_t width) {
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

void ScrubFolderIndex(FileSystem& fs, const std::string& folder, std::uint64_t removedBytes) {
  const std::uint64_t entryBytes = kIndexEntryFixedBytes + 2 * kScrubNameLength;
  // One entry more than the bytes need, as the tail may start part way into
  // an entry.
  const auto wanted = static_cast<std::size_t>(
      std::clamp<std::uint64_t>(removedBytes / entryBytes + 2, kScrubEntriesMin, kScrubEntriesMax));
  // All entries are in the index at once before any goes: one made and
  // deleted at a time would write over the same first bytes of the tail
  // again and again.
  std::vector<std::string> made;
  int passedOver = 0;
  for (std::uint64_t number = 0; made.size() < wanted && passedOver <= kTakenNamesPassedOver;
       ++number) {
    const std::string path = JoinPath(folder, ZeroPaddedName(number, kScrubNameLength));
    std::unique_ptr<OpenFile> file;
    const SystemCode code = fs.CreateNewFile(path, false, file);
    if (code == syscode::kFileExists || code == syscode::kAlreadyExists) {
      ++passedOver;
      continue;
    }
    if (code) break;
    made.push_back(path);
    file->Close();
  }
  for (const std::string& path : made) fs.RemoveFile(path);
}

void ScrubSelectionParents(FileSystem& fs, const std::vector<std::string>& paths) {
  std::map<std::string, std::uint64_t> removed;  // folder -> bytes of the names
  for (const std::string& path : paths) {
    const std::string folder = FolderHolding(path);
    if (!folder.empty()) removed[folder] += IndexEntryBytes(ExtractLastName(path));
  }
  for (const auto& [folder, bytes] : removed) ScrubFolderIndex(fs, folder, bytes);
}

}  // namespace tovo

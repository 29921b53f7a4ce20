#include "shred/index_scrub.h"

#include <algorithm>
#include <set>

#include "platform/paths.h"

namespace tovo {
namespace {

// An NTFS index entry: a 16-byte header, a 66-byte file name record, then
// the name.
constexpr std::uint64_t kIndexEntryFixedBytes = 82;

// Names already taken are passed over at most this often in one scrub.
constexpr int kTakenNamesPassedOver = 8;

bool IsNameTaken(SystemCode code) {
  return code == syscode::kFileExists || code == syscode::kAlreadyExists;
}

// The empty files made in one folder, deleted when they are released or, on
// an exception, when this goes.
class Fillers {
 public:
  explicit Fillers(FileSystem& fs) : fs_(fs) {}
  Fillers(const Fillers&) = delete;
  Fillers& operator=(const Fillers&) = delete;
  ~Fillers() { Release(); }

  // The code of the creation; the file is closed at once.
  SystemCode Make(const std::string& path) {
    std::unique_ptr<OpenFile> file;
    const SystemCode code = fs_.CreateNewFile(path, false, file);
    if (code) return code;
    made_.push_back(path);
    file->Close();
    return 0;
  }

  // Deletes them all; one that fails is tried again after the others, as
  // another program may hold a new file for a moment. Returns those left.
  std::vector<ShredOutcome> Release() {
    std::vector<ShredOutcome> left;
    for (int round = 0; round < 2 && !made_.empty(); ++round) {
      std::vector<std::string> kept;
      left.clear();
      for (std::string& path : made_) {
        if (const SystemCode code = fs_.RemoveFile(path)) {
          left.push_back(ShredOutcome{path, ShredStep::kDelete, code});
          kept.push_back(std::move(path));
        }
      }
      made_ = std::move(kept);
    }
    made_.clear();
    return left;
  }

 private:
  FileSystem& fs_;
  std::vector<std::string> made_;
};

void MakeFillers(Fillers& fillers, const std::string& folder, std::span<const FillerGroup> groups,
                 const StopSignal* stop) {
  std::uint64_t number = 0;
  int passedOver = 0;
  for (const FillerGroup& group : groups) {
    for (int made = 0; made < group.count;) {
      if (stop && stop->Requested()) return;
      const SystemCode code =
          fillers.Make(JoinPath(folder, ZeroPaddedName(++number, group.nameLength)));
      if (!IsNameTaken(code)) {
        if (code) return;
        ++made;
      } else if (++passedOver > kTakenNamesPassedOver) {
        return;
      }
    }
  }
}

}  // namespace

std::string ZeroPaddedName(std::uint64_t number, std::size_t width) {
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::vector<ShredOutcome> ScrubWithFillers(FileSystem& fs, const std::string& folder,
                                           std::span<const FillerGroup> groups,
                                           const StopSignal* stop) {
  Fillers fillers(fs);
  MakeFillers(fillers, folder, groups, stop);
  return fillers.Release();
}

std::vector<ShredOutcome> ScrubFolderIndex(FileSystem& fs, const std::string& folder,
                                           std::uint64_t removedBytes) {
  const std::uint64_t entryBytes = kIndexEntryFixedBytes + 2 * kScrubNameLength;
  // One entry more than the bytes need, as the tail may start part way into
  // an entry.
  const FillerGroup group{static_cast<int>(std::clamp<std::uint64_t>(
                              removedBytes / entryBytes + 2, kScrubEntriesMin, kScrubEntriesMax)),
                          kScrubNameLength};
  return ScrubWithFillers(fs, folder, {&group, 1});
}

std::vector<ShredOutcome> ScrubSelectionParents(FileSystem& fs,
                                                const std::vector<std::string>& paths,
                                                const StopSignal* stop) {
  std::set<std::string> folders;
  for (const std::string& path : paths) {
    if (std::string folder = FolderHolding(path); !folder.empty())
      folders.insert(std::move(folder));
  }
  std::vector<ShredOutcome> left;
  for (const std::string& folder : folders) {
    std::vector<ShredOutcome> here = ScrubWithFillers(fs, folder, kKeptFolderFillers, stop);
    left.insert(left.end(), here.begin(), here.end());
  }
  return left;
}

}  // namespace tovo

#include "shred/free_space_wipe.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "platform/errors.h"
#include "platform/paths.h"
#include "shred/conceal_metadata.h"
#include "shred/index_scrub.h"

namespace tovo {
namespace {

// Without the sizes from the system: the common NTFS ones.
constexpr std::uint32_t kDefaultSectorBytes = 512;
constexpr std::uint32_t kDefaultRecordBytes = 1024;
// Content that stays inside a file record next to a name of
// recordNameLength characters: 300 of 1024 bytes, as measured.
constexpr std::uint32_t kRecordContentPer1024 = 300;
// The record fill's bound where the file table's size is unknown.
constexpr std::uint64_t kRecordFilesUnknownTable = 1u << 20;
// Unbuffered writes need an address aligned to the sector; a page covers
// every sector size in use.
constexpr std::size_t kBufferAlignment = 4096;

bool IsFull(SystemCode code) {
  return code == syscode::kDiskFull || code == syscode::kHandleDiskFull;
}

bool IsNameTaken(SystemCode code) {
  return code == syscode::kFileExists || code == syscode::kAlreadyExists;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fill's bytes: a fast generator of the wipe's own (xoshiro128+), so
// that neither compression nor deduplication can skip them. The shredding
// generator is not drawn from: its sequence belongs to the shred.
class FillBytes {
 public:
  explicit FillBytes(std::size_t size) : storage_(size + kBufferAlignment) {
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
    data_ = storage_.data() + (kBufferAlignment - address % kBufferAlignment) % kBufferAlignment;
    size_ = size;
  }

  // New bytes for the next request of `size` (at most the buffer's size).
  const std::uint8_t* Next(std::size_t size) {
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
      const std::uint32_t value = Draw();
      std::memcpy(data_ + i, &value, 4);
    }
    return data_;
  }
  std::size_t size() const { return size_; }

 private:
  static std::uint32_t Rotate(std::uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }
  std::uint32_t Draw() {
    const std::uint32_t result = s_[0] + s_[3];
    const std::uint32_t t = s_[1] << 9;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotate(s_[3], 11);
    return result;
  }

  std::vector<std::uint8_t> storage_;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::uint32_t s_[4] = {0x9E3779B9u, 0x243F6A88u, 0xB7E15162u, 0x6A09E667u};
};

// Removes the fill folder and everything in it: files by name (their names
// are zeros already and their contents fill), folders through the
// neutral-name steps. Links are not followed. Returns the first failure.
ShredOutcome RemoveFillTree(FileSystem& fs, const std::string& folder) {
  ShredOutcome first{folder};
  auto keep = [&](ShredOutcome outcome) {
    if (first.destroyed() && !outcome.destroyed()) first = std::move(outcome);
  };
  fs.Search(JoinPath(folder, "*.*"), [&](const FolderEntry& entry) {
    if (entry.name == "." || entry.name == ".." || HoldsPathSeparator(entry.name)) return;
    const std::string path = JoinPath(folder, entry.name);
    if (!IsFolder(entry.attributes)) {
      if (const SystemCode code = fs.RemoveFile(path)) {
        keep(ShredOutcome{path, ShredStep::kDelete, code});
      }
    } else if (entry.attributes & attr::kReparsePoint) {
      keep(ShredOutcome{path, ShredStep::kLinkKept, 0});
    } else {
      keep(RemoveFillTree(fs, path));
    }
  });
  keep(RemoveFolderConcealed(fs, folder));
  return first;
}

// The one big file of a fill folder.
std::string BigFilePath(const std::string& folder) {
  return JoinPath(folder, ZeroPaddedName(0, 8));
}

[[noreturn]] void ThrowLeft(const ShredOutcome& left) {
  throw IoError("release fill", PathNow(left), left.code ? left.code : syscode::kAccessDenied);
}

// Everything one wipe has made. Destroying it releases what is left, so a
// stop, a failure and an exception all give the space back.
class Fill {
 public:
  Fill(FileSystem& fs, std::string folder) : fs_(fs), folder_(std::move(folder)) {}
  ~Fill() {
    try {
      Release();
    } catch (...) {  // already on another way out, which reports its own error
    }
  }
  Fill(const Fill&) = delete;
  Fill& operator=(const Fill&) = delete;

  SystemCode Make() {
    const SystemCode code = fs_.CreatePlainFolder(folder_);
    made_ = code == 0;
    return code;
  }
  const std::string& folder() const { return folder_; }
  std::unique_ptr<OpenFile>& big() { return big_; }
  std::string& bigPath() { return bigPath_; }

  // The big file first, as with the volume full removing the small files'
  // entries fails until its clusters are free again.
  ShredOutcome Release() {
    ShredOutcome left{folder_};
    if (big_) {
      left = ConcealAndDelete(fs_, *big_, bigPath_);
      big_.reset();
    }
    if (made_) {
      made_ = false;
      ShredOutcome tree = RemoveFillTree(fs_, folder_);
      if (left.destroyed()) left = std::move(tree);
    }
    return left;
  }

 private:
  FileSystem& fs_;
  std::string folder_;
  bool made_ = false;
  std::unique_ptr<OpenFile> big_;
  std::string bigPath_;
};

class Wipe {
 public:
  Wipe(FileSystem& fs, std::string root, const WipeOptions& options)
      : fs_(fs), root_(std::move(root)), options_(options) {}

  WipeResult Run() {
    RemoveLeftover();
    if (const SystemCode code = fs_.QueryVolume(root_, facts_)) {
      throw IoError("query volume", root_, code);
    }
    result_.freeBefore = facts_.freeBytes;
    if (facts_.sectorBytes == 0) facts_.sectorBytes = kDefaultSectorBytes;
    if (facts_.recordBytes == 0) facts_.recordBytes = kDefaultRecordBytes;
    if (options_.progress) options_.progress->Counted(0, facts_.freeBytes);

    Fill fill(fs_, FillFolderPath(root_));
    if (const SystemCode code = fill.Make()) throw IoError("create folder", fill.folder(), code);
    fill.bigPath() = BigFilePath(fill.folder());
    if (const SystemCode code = fs_.CreateNewFile(fill.bigPath(), true, fill.big())) {
      throw IoError("create file", fill.bigPath(), code);
    }
    FillBytes bytes(std::max<std::size_t>(RoundDown(options_.requestBytes), facts_.sectorBytes));

    Phase("正在填充剩余空间");
    FillClusters(*fill.big(), fill.bigPath(), bytes);
    const auto records = std::chrono::steady_clock::now();
    if (!Stopped()) {
      Phase("正在填充文件记录");
      FillRecords(fill.folder(), bytes);
    }
    result_.recordSeconds = SecondsSince(records);
    if (!Stopped()) {
      Phase("正在填充剩余空间");
      FillLastClusters(*fill.big(), fill.bigPath(), bytes);
      if (const SystemCode code = fill.big()->Flush()) {
        throw IoError("flush", fill.bigPath(), code);
      }
    }

    Phase("正在释放填充文件");
    const auto release = std::chrono::steady_clock::now();
    const ShredOutcome left = fill.Release();
    if (!left.destroyed()) ThrowLeft(left);
    const auto fillers = ScrubFolderIndex(fs_, root_, std::numeric_limits<std::uint64_t>::max());
    if (!fillers.empty()) ThrowLeft(fillers.front());
    result_.releaseSeconds = SecondsSince(release);
    result_.stopped = Stopped();
    return result_;
  }

 private:
  bool Stopped() const { return options_.stop && options_.stop->Requested(); }
  void Phase(const char* text) {
    if (options_.progress) options_.progress->SetCurrent(text);
  }
  void Wrote(std::size_t size) {
    result_.bytesWritten += size;
    if (options_.progress) options_.progress->AddBytes(size);
  }
  std::uint64_t RoundDown(std::uint64_t size) const { return size - size % facts_.sectorBytes; }

  // A fill folder that a killed run left is this program's own: it goes
  // before the new fill.
  void RemoveLeftover() {
    switch (RemoveLeftoverFill(fs_, root_)) {
      case LeftoverFill::kNone: break;
      case LeftoverFill::kRemoved: result_.leftoverRemoved = true; break;
      case LeftoverFill::kInUse:
        throw IoError("create folder", FillFolderPath(root_), syscode::kSharingViolation);
    }
  }

  // One request; true when the volume took all of it, false when it is
  // full. Any other failure is raised.
  bool WriteRequest(OpenFile& file, const std::string& path, FillBytes& bytes, std::size_t size) {
    std::size_t written = 0;
    const SystemCode code = file.Write(bytes.Next(size), size, written);
    Wrote(written);
    if (code == 0 && written == size) return true;
    if (code == 0 || IsFull(code)) return false;
    throw IoError("write", path, code);
  }

  // Large requests until only the reserve is free. Never more than was free
  // at the start, whatever other programs free meanwhile.
  void FillClusters(OpenFile& big, const std::string& path, FillBytes& bytes) {
    while (!Stopped() && result_.bytesWritten < result_.freeBefore) {
      VolumeFacts now;
      if (fs_.QueryVolume(root_, now) || now.freeBytes <= options_.reserveBytes) return;
      const std::uint64_t size =
          std::min<std::uint64_t>(bytes.size(), RoundDown(now.freeBytes - options_.reserveBytes));
      if (size == 0 || !WriteRequest(big, path, bytes, static_cast<std::size_t>(size))) return;
    }
  }

  // The last clusters: halving requests down to one sector.
  void FillLastClusters(OpenFile& big, const std::string& path, FillBytes& bytes) {
    std::size_t size = bytes.size();
    const std::uint64_t bound = result_.freeBefore + options_.reserveBytes;
    while (!Stopped() && size >= facts_.sectorBytes && result_.bytesWritten < bound) {
      if (!WriteRequest(big, path, bytes, size)) {
        size = static_cast<std::size_t>(RoundDown(size / 2));
      }
    }
  }

  std::uint64_t RecordFilesBound() const {
    if (facts_.fileTableBytes == 0) return kRecordFilesUnknownTable;
    return (facts_.fileTableBytes + 2 * options_.reserveBytes) / facts_.recordBytes;
  }

  // Small files, each inside its own file record, until the volume refuses
  // one: they take over the freed records, where deleted names and small
  // contents stay.
  void FillRecords(const std::string& folder, FillBytes& bytes) {
    const std::size_t content =
        std::min<std::size_t>(bytes.size(), facts_.recordBytes / 1024 * kRecordContentPer1024);
    const std::uint64_t bound = RecordFilesBound();
    std::string subFolder;
    int inFolder = options_.filesPerFolder;
    int refusals = 0;
    std::uint64_t number = 0;
    for (std::uint64_t tries = 0; tries < bound && !Stopped(); ++tries) {
      if (refusals >= options_.refusalsInARow) return;
      if (inFolder >= options_.filesPerFolder) {
        subFolder = JoinPath(folder, ZeroPaddedName(++folderNumber_, 8));
        const SystemCode code = fs_.CreatePlainFolder(subFolder);
        if (IsFull(code)) return;
        if (code) {
          ++refusals;
          continue;
        }
        inFolder = 0;
      }
      const std::string path =
          JoinPath(subFolder, ZeroPaddedName(number++, options_.recordNameLength));
      std::unique_ptr<OpenFile> file;
      const SystemCode code = fs_.CreateNewFile(path, false, file);
      if (IsFull(code)) return;
      if (code) {
        ++refusals;
        if (IsNameTaken(code)) ++inFolder;
        continue;
      }
      ++inFolder;
      ++result_.recordFiles;
      const bool took = WriteRequest(*file, path, bytes, content);
      const SystemCode closed = file->Close();
      if (!took || IsFull(closed)) return;
      refusals = 0;
    }
  }

  FileSystem& fs_;
  std::string root_;
  WipeOptions options_;
  VolumeFacts facts_;
  WipeResult result_;
  std::uint64_t folderNumber_ = 0;
};

}  // namespace

LeftoverFill RemoveLeftoverFill(FileSystem& fs, const std::string& root) {
  const std::string folder = FillFolderPath(root);
  std::uint32_t attributes = 0;
  if (fs.ReadAttributes(folder, attributes)) return LeftoverFill::kNone;
  if (!IsFolder(attributes) || (attributes & attr::kReparsePoint)) {
    throw IoError("create folder", folder, syscode::kAlreadyExists);
  }
  // A wipe under way keeps its big file open without sharing; removing the
  // rest under it would make that wipe fail.
  std::unique_ptr<OpenFile> big;
  if (fs.OpenExclusive(BigFilePath(folder), big) == syscode::kSharingViolation)
    return LeftoverFill::kInUse;
  if (big) big->Close();
  const ShredOutcome left = RemoveFillTree(fs, folder);
  if (!left.destroyed()) ThrowLeft(left);
  return LeftoverFill::kRemoved;
}

std::string FillFolderPath(const std::string& root) {
  return JoinPath(root, kFillFolderName);
}

WipeResult WipeFreeSpace(FileSystem& fs, const std::string& root, const WipeOptions& options) {
  return Wipe(fs, root, options).Run();
}

}  // namespace tovo

#include "fake_volume.h"

#include <algorithm>

namespace tovo::testing {

// Writes that do not fit fail whole with "disk full", as unbuffered ones do.
class CapacityFile : public OpenFile {
 public:
  CapacityFile(FakeVolume& volume, std::unique_ptr<OpenFile> file, std::string path)
      : volume_(volume), file_(std::move(file)), path_(std::move(path)) {}

  SystemCode Length(std::uint64_t& length) override { return file_->Length(length); }
  SystemCode Rewind() override { return file_->Rewind(); }
  SystemCode Write(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
    written = 0;
    if (const SystemCode code = volume_.Ask("write", path_)) return code;
    if (volume_.Used() + size > volume_.capacity) return syscode::kDiskFull;
    const SystemCode code = file_->Write(data, size, written);
    volume_.leastFree = std::min(volume_.leastFree, volume_.capacity - volume_.Used());
    return code;
  }
  SystemCode Flush() override { return file_->Flush(); }
  SystemCode Truncate() override { return file_->Truncate(); }
  SystemCode SetTimes(FileTime time) override { return file_->SetTimes(time); }
  SystemCode Rename(const std::string& newPath) override {
    const SystemCode code = file_->Rename(newPath);
    if (code == 0) path_ = newPath;
    return code;
  }
  SystemCode MarkForDelete() override { return file_->MarkForDelete(); }
  SystemCode Close() override {
    if (file_) volume_.log.push_back("close " + path_);
    const SystemCode code = file_ ? file_->Close() : 0;
    file_.reset();
    return code;
  }
  ~CapacityFile() override { Close(); }

 private:
  FakeVolume& volume_;
  std::unique_ptr<OpenFile> file_;
  std::string path_;
};

SystemCode FakeVolume::Ask(const std::string& op, const std::string& path) {
  const std::string line = op + " " + path;
  if (op != "write" || log.empty() || log.back() != line) log.push_back(line);
  return refuse ? refuse(op, path) : 0;
}

std::uint64_t FakeVolume::Used() const {
  std::uint64_t used = 0;
  for (const std::string& path : Paths()) used += At(path).bytes.size();
  return used;
}

int FakeVolume::FirstLog(const std::string& prefix) const {
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i].starts_with(prefix)) return static_cast<int>(i);
  }
  return -1;
}

int FakeVolume::LastLog(const std::string& prefix) const {
  for (std::size_t i = log.size(); i-- > 0;) {
    if (log[i].starts_with(prefix)) return static_cast<int>(i);
  }
  return -1;
}

SystemCode FakeVolume::QueryVolume(const std::string& root, VolumeFacts& out) {
  if (const SystemCode code = refuse ? refuse("query", root) : 0) return code;
  out = facts;
  const std::uint64_t used = Used();
  out.freeBytes = used < capacity ? capacity - used : 0;
  return 0;
}

SystemCode FakeVolume::CreateNewFile(const std::string& path, bool,
                                     std::unique_ptr<OpenFile>& file) {
  if (const SystemCode code = Ask("create", path)) return code;
  if (Exists(path)) return syscode::kFileExists;
  if (Paths().size() >= maxEntries) return syscode::kDiskFull;
  AddFile(path, 0);
  std::unique_ptr<OpenFile> inner;
  if (const SystemCode code = OpenExclusive(path, inner)) return code;
  file = std::make_unique<CapacityFile>(*this, std::move(inner), path);
  return 0;
}

SystemCode FakeVolume::CreatePlainFolder(const std::string& path) {
  if (const SystemCode code = Ask("mkdir", path)) return code;
  if (Exists(path)) return syscode::kAlreadyExists;
  if (Paths().size() >= maxEntries) return syscode::kDiskFull;
  AddFolder(path);
  return 0;
}

SystemCode FakeVolume::RemoveFile(const std::string& path) {
  if (const SystemCode code = Ask("delete", path)) return code;
  return FakeFileSystem::RemoveFile(path);
}

SystemCode FakeVolume::RemoveFolder(const std::string& path) {
  if (const SystemCode code = Ask("rmdir", path)) return code;
  return FakeFileSystem::RemoveFolder(path);
}

}  // namespace tovo::testing

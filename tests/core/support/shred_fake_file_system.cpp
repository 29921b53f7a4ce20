#include "shred_fake_file_system.h"

#include <algorithm>
#include <stdexcept>

namespace tovo::testing {
namespace {

std::string Normal(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return std::string();
  return slash == 2 ? path.substr(0, 3) : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

}  // namespace

class FakeOpenFile : public OpenFile {
 public:
  // Created with the file system's lock held.
  FakeOpenFile(FakeFileSystem& fs, std::string path)
      : fs_(fs), path_(std::move(path)), openedAs_(path_) {
    ++fs_.openFiles;
  }
  ~FakeOpenFile() override { Close(); }

  SystemCode Length(std::uint64_t& length) override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    length = Bytes().size();
    return fs_.FailureAt(openedAs_, ShredStep::kLength);
  }
  SystemCode Rewind() override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    position_ = 0;
    return fs_.FailureAt(openedAs_, ShredStep::kSeek);
  }
  SystemCode Write(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
    if (fs_.onWrite) fs_.onWrite(path_);
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    fs_.writeRequests.push_back(size);
    if (const SystemCode code = fs_.FailureAt(openedAs_, ShredStep::kWrite)) {
      written = 0;
      return code;
    }
    written = size;
    if (fs_.shortWriteAfter && fs_.bytesWritten_ + size > *fs_.shortWriteAfter) {
      written = *fs_.shortWriteAfter - fs_.bytesWritten_;
    }
    auto& bytes = Bytes();
    if (position_ + written > bytes.size()) bytes.resize(position_ + written);
    std::copy(data, data + written, bytes.begin() + position_);
    position_ += written;
    fs_.bytesWritten_ += written;
    return written == size ? 0 : fs_.writeFailure;
  }
  SystemCode Flush() override {
    if (fs_.onFlush) fs_.onFlush(path_);
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    ++fs_.flushes;
    if (const SystemCode code = fs_.FailureAt(openedAs_, ShredStep::kFlush)) return code;
    return fs_.flushFailure;
  }
  SystemCode Truncate() override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    fs_.steps.push_back("truncate");
    if (fs_.truncateFailure) return fs_.truncateFailure;
    Bytes().clear();
    return 0;
  }
  SystemCode SetTimes(FileTime time) override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    fs_.steps.push_back("times");
    if (fs_.timesFailure) return fs_.timesFailure;
    fs_.nodes_.at(path_).times = time;
    return 0;
  }
  SystemCode Rename(const std::string& newPath) override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    const SystemCode code = fs_.Rename(path_, newPath);
    if (code == 0) path_ = newPath;
    return code;
  }
  SystemCode MarkForDelete() override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    fs_.steps.push_back("mark");
    if (fs_.markFailure) return fs_.markFailure;
    // Windows refuses the mark where it would refuse a delete by name.
    if (fs_.deleteFailures.count(path_)) return fs_.deleteFailures[path_];
    marked_ = true;
    return 0;
  }
  SystemCode Close() override {
    const std::lock_guard<std::recursive_mutex> lock(fs_.mutex_);
    if (closed_) return 0;
    closed_ = true;
    --fs_.openFiles;
    if (const SystemCode code = fs_.FailureAt(openedAs_, ShredStep::kClose)) return code;
    if (marked_) {
      fs_.steps.push_back("close");
      fs_.Erase(path_);
    }
    return 0;
  }

 private:
  std::vector<std::uint8_t>& Bytes() { return fs_.nodes_.at(path_).bytes; }

  FakeFileSystem& fs_;
  std::string path_;
  const std::string openedAs_;  // injected failures follow the file past a rename
  std::size_t position_ = 0;
  bool closed_ = false;
  bool marked_ = false;
};

FakeFileSystem::FakeFileSystem() {
  nodes_["C:\\"].attributes = attr::kDirectory;
  AddFolder("C:\\work");
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
  if (!nodes_.count(ParentOf(path))) throw std::logic_error("no parent for " + path);
  nodes_[path].attributes = attributes | attr::kDirectory;
  order_[ParentOf(path)].push_back(NameOf(path));
}

void FakeFileSystem::AddFile(const std::string& path, std::size_t size, std::uint8_t fill,
                             std::uint32_t attributes) {
  if (!nodes_.count(ParentOf(path))) throw std::logic_error("no parent for " + path);
  nodes_[path] = Node{attributes, std::vector<std::uint8_t>(size, fill), ""};
  order_[ParentOf(path)].push_back(NameOf(path));
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) {
  const std::uint32_t kind = nodes_.at(target).attributes & attr::kDirectory;
  AddFolder(path);
  nodes_[path] = Node{kind | attr::kArchive | attr::kReparsePoint, {}, target};
}

bool FakeFileSystem::Exists(const std::string& path) const {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  return nodes_.count(path) > 0;
}

const FakeFileSystem::Node& FakeFileSystem::At(const std::string& path) const {
  return nodes_.at(path);
}

std::vector<std::string> FakeFileSystem::Paths() const {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<std::string> paths;
  for (const auto& [path, node] : nodes_) paths.push_back(path);
  return paths;
}

SystemCode FakeFileSystem::FailureAt(const std::string& path, ShredStep step) const {
  const auto it = stepFailures.find(path);
  return it != stepFailures.end() && it->second.step == step ? it->second.code : 0;
}

std::string FakeFileSystem::Resolve(const std::string& path) const {
  const auto it = nodes_.find(path);
  return it != nodes_.end() && !it->second.linkTarget.empty() ? it->second.linkTarget : path;
}

std::vector<std::string> FakeFileSystem::ChildrenOf(const std::string& folder) const {
  const auto it = order_.find(folder);
  return it == order_.end() ? std::vector<std::string>() : it->second;
}

SystemCode FakeFileSystem::ReadAttributes(const std::string& path, std::uint32_t& attributes) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (attributeFailures.count(path)) return attributeFailures[path];
  const auto it = nodes_.find(Normal(path));
  if (it == nodes_.end()) return syscode::kFileNotFound;
  attributes = it->second.attributes;
  return 0;
}

SystemCode FakeFileSystem::ReadSize(const std::string& path, std::uint64_t& size) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (attributeFailures.count(path)) return attributeFailures[path];
  const auto it = nodes_.find(Normal(path));
  if (it == nodes_.end()) return syscode::kFileNotFound;
  size = it->second.bytes.size();
  return 0;
}

SystemCode FakeFileSystem::WriteAttributes(const std::string& path, std::uint32_t attributes) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  const auto it = nodes_.find(path);
  if (it == nodes_.end()) return syscode::kFileNotFound;
  const std::uint32_t kept = it->second.attributes & (attr::kDirectory | attr::kReparsePoint);
  it->second.attributes = attributes == attr::kNormal && !kept ? attr::kNormal : attributes | kept;
  return 0;
}

SystemCode FakeFileSystem::OpenExclusive(const std::string& path, std::unique_ptr<OpenFile>& file) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (openFailures.count(path)) return openFailures[path];
  const std::string target = Resolve(path);
  const auto it = nodes_.find(target);
  if (it == nodes_.end()) return syscode::kFileNotFound;
  if (it->second.attributes & (attr::kDirectory | attr::kReadOnly)) return syscode::kAccessDenied;
  opened.push_back(path);
  file = std::make_unique<FakeOpenFile>(*this, target);
  return 0;
}

SystemCode FakeFileSystem::RemoveFile(const std::string& path) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (deleteFailures.count(path)) return deleteFailures[path];
  const auto it = nodes_.find(path);
  if (it == nodes_.end()) return syscode::kFileNotFound;
  if (it->second.attributes & (attr::kDirectory | attr::kReadOnly)) return syscode::kAccessDenied;
  Erase(path);
  return 0;
}

void FakeFileSystem::Erase(const std::string& path) {
  nodes_.erase(path);
  auto& siblings = order_[ParentOf(path)];
  siblings.erase(std::find(siblings.begin(), siblings.end(), NameOf(path)));
}

// Moves the entry and everything below it; its place in its folder's order
// stays, as the engine's search keeps running while it renames.
SystemCode FakeFileSystem::Rename(const std::string& path, const std::string& newPath) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  steps.push_back("rename " + newPath);
  if (renameFailures.count(newPath)) return renameFailures[newPath];
  const std::string from = Normal(path);
  if (!nodes_.count(from)) return syscode::kFileNotFound;
  if (nodes_.count(newPath)) return syscode::kAlreadyExists;
  if (current == from || current.starts_with(from + "\\")) return syscode::kSharingViolation;
  auto moved = [&](const std::string& key) -> std::optional<std::string> {
    if (key == from) return newPath;
    if (key.starts_with(from + "\\")) return newPath + key.substr(from.size());
    return std::nullopt;
  };
  auto rekey = [&](auto& map) {
    for (auto it = map.begin(); it != map.end();) {
      const auto to = moved(it->first);
      if (!to) {
        ++it;
        continue;
      }
      auto node = map.extract(it++);
      node.key() = *to;
      map.insert(std::move(node));
    }
  };
  rekey(nodes_);
  rekey(order_);
  rekey(deleteFailures);
  auto& siblings = order_[ParentOf(from)];
  *std::find(siblings.begin(), siblings.end(), NameOf(from)) = NameOf(newPath);
  return 0;
}

SystemCode FakeFileSystem::RemoveFolder(const std::string& path) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  const std::string folder = Normal(path);
  const auto it = nodes_.find(folder);
  if (it == nodes_.end()) return syscode::kFileNotFound;
  if (!(it->second.attributes & attr::kDirectory)) return 267;  // the directory name is invalid
  // A link goes without its target, as on Windows.
  if (it->second.linkTarget.empty() && !ChildrenOf(folder).empty()) return syscode::kDirNotEmpty;
  if (folder == current) return syscode::kSharingViolation;
  order_.erase(folder);
  Erase(folder);
  return 0;
}

SystemCode FakeFileSystem::Search(const std::string& pattern,
                                  const std::function<void(const FolderEntry&)>& visit) {
  std::string folder;
  std::vector<std::string> names;
  {
    const std::lock_guard<std::recursive_mutex> lock(mutex_);
    const size_t star = pattern.rfind("*.*");
    if (star == std::string::npos || star != pattern.size() - 3) return 123;  // invalid name
    folder = Resolve(Normal(pattern.substr(0, star)));
    if (!nodes_.count(folder)) return syscode::kPathNotFound;
    if (enterFailures.count(folder)) return enterFailures[folder];
    // A copy, as the engine removes entries while the search is open.
    names = ChildrenOf(folder);
  }
  if (folder.size() > 3) {
    visit(FolderEntry{".", attr::kDirectory});
    visit(FolderEntry{"..", attr::kDirectory});
  }
  // Each entry is looked up and visited without the lock held across the
  // visit, as the engine's workers go on meanwhile.
  for (const std::string& name : names) {
    const std::string child = folder.size() == 3 ? folder + name : folder + "\\" + name;
    std::optional<FolderEntry> entry;
    {
      const std::lock_guard<std::recursive_mutex> lock(mutex_);
      if (const auto it = nodes_.find(child); it != nodes_.end()) {
        entry = FolderEntry{name, it->second.attributes, it->second.bytes.size()};
      }
    }
    if (entry) visit(*entry);
  }
  if (const auto extra = extraEntries.find(folder); extra != extraEntries.end()) {
    for (const FolderEntry& entry : extra->second) visit(entry);
  }
  return 0;
}

SystemCode FakeFileSystem::EnterFolder(const std::string& path) {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  enterLog.push_back(path);
  const std::string folder = Normal(path);
  if (enterFailures.count(folder)) return enterFailures[folder];
  const auto it = nodes_.find(Resolve(folder));
  if (it == nodes_.end()) return syscode::kFileNotFound;
  if (!(it->second.attributes & attr::kDirectory)) return 267;
  current = folder;
  return 0;
}

}  // namespace tovo::testing
